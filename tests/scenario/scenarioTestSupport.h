// Helpers shared by the scenario tests: a diagnostic recorder and variable names.
#pragma once
#include <string>
#include <vector>

#include "base/debugMessage.h"
#include "scenario/variableStore.h"

// Collects every diagnostic while it lives.
class DiagnosticRecorder {
public:
    DiagnosticRecorder() {
        messages().clear();
        setDebugSink(&DiagnosticRecorder::Sink);
    }
    ~DiagnosticRecorder() { setDebugSink(nullptr); }
    static std::vector<std::string>& messages() {
        static std::vector<std::string> list;
        return list;
    }

private:
    static void Sink(const char* text) { messages().push_back(text); }
};

// A fresh variable store with the given names.
struct NamedVariable {
    VariableKind kind;
    int index;
    const char* name;
    int32_t value;
};
inline void defineVariables(std::initializer_list<NamedVariable> list) {
    resetVariableStore();
    for (const NamedVariable& v : list) {
        setVariableName(v.kind, v.index, v.name);
        variableValues(v.kind)[v.index] = v.value;
    }
}
