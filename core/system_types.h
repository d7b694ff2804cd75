// Records the compiled program hands to the data and call commands.
#pragma once

// One item of a data list: a number (text null) or a text.
struct DataItem {
    double value;
    const char* text;
};

// A data list compiled into the program: its items, their count and the read position.
struct DataList {
    const DataItem* items;
    int count;
    int readIndex;
};

// One callable subroutine. A table ends with an entry whose name is null.
struct SubroutineEntry {
    void (*function)();
    const char* name;
};
