// The sections of a save slot: each module's serialiser under its record name, in the order the
// master stream stores them. Saving and loading walk this table; a module adds its row.
#pragma once
#include <cstddef>

class cSaveStream;

struct SaveSection {
    const char* name;
    void (*serialize)(cSaveStream& stream);  // writes or reads by the stream's mode
};

// The sections of this configuration, in stored order.
size_t saveSectionCount();
const SaveSection& saveSection(size_t index);
// The sections every configuration saves (the first rows), which a loadable slot must hold.
size_t sharedSaveSectionCount();
// Per configuration: the rows after the shared ones (the flow record in the full configuration,
// none in the earlier one).
size_t configurationSaveSectionCount();
const SaveSection& configurationSaveSection(size_t index);

// Every section of the current state as one record each of the master stream (writing mode).
void writeSaveSections(cSaveStream& master);
// Each section of the master stream (reading mode) handed to its serialiser; an absent one as
// an empty stream.
void readSaveSections(cSaveStream& master);
