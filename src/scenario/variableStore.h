// The variable store: three tables of 1000 named integer variables (local, global, seen flags),
// looked up by name. Pure: the two global tables' files are written by the module that installs
// the table writer (scenario/variables).
#pragma once
#include <cstddef>
#include <cstdint>

class cSaveStream;

enum class VariableKind : uint8_t { Local = 0, Global = 1, Seen = 2 };

constexpr int kVariableCount = 1000;
// One table as stored: 1000 little-endian int32, index 0 first.
constexpr size_t kVariableTableBytes = kVariableCount * 4;

// A text that begins with a decimal digit: the value of its leading digits (saturating at
// INT32_MAX). Otherwise the value of the first slot, by index, whose name equals the text byte for
// byte, L before G before F at one index; an unknown or empty name gives a diagnostic and 0.
int32_t getVariable(const char* text);
// Assigns a local or global variable (the first slot whose name matches, L before G); a global
// assignment rewrites the global table's file. Unknown, empty and seen-flag names change nothing.
void setVariable(const char* name, int32_t value);
// Sets the first seen flag of that name to 1 and rewrites the seen flags' file; an unknown name
// does nothing.
void setSeenFlag(const char* name);
// All local variables := 0.
void clearLocalVariables();

// Slot names, filled from the configuration at start-up; "" for an unnamed slot.
void setVariableName(VariableKind kind, int index, const char* name);
const char* variableName(VariableKind kind, int index);
// Every name := "" and every value := 0.
void resetVariableStore();

// The values of one table (kVariableCount of them).
int32_t* variableValues(VariableKind kind);

// A table as its 4000 stored bytes, and back.
void encodeVariableTable(VariableKind kind, uint8_t out[kVariableTableBytes]);
void decodeVariableTable(VariableKind kind, const uint8_t in[kVariableTableBytes]);

// Called after each change of the global table or the seen flags, so that its file is rewritten.
using VariableTableWriter = void (*)(VariableKind kind);
void setVariableTableWriter(VariableTableWriter writer);

// The save section "Data_Flags": the record "Flags" with the 1000 local values; reading replaces
// them only when the record holds exactly 4000 bytes.
void serializeLocalVariables(cSaveStream& stream);
