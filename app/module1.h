#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The variables every window shares, in their declaration order. Counts, indices and work-area
// edges are 16-bit signed; each list has bounds 0..count, its last entry a spare never read.
struct SharedState {
    std::vector<QString> FileList12;
    std::vector<QString> FileList1;
    std::vector<QString> FileListSld;
    std::vector<QString> SldPool;
    int16_t FileCount12 = 0;
    int16_t FileCount1 = 0;
    int16_t FileCountSld = 0;
    QString DirPath12;
    QString DirPath1;
    QString DirPathSld;
    QString CurFile1;
    int16_t CurIndex12 = 0;
    int16_t CurIndex1 = 0;
    int16_t CurIndexSld = 0;
    int16_t WorkLeft = 0;
    int16_t WorkRight = 0;
    int16_t WorkTop = 0;
    int16_t WorkBottom = 0;
    std::array<QString, 8> IniLines;
    QString CurFileName1;
    bool Next12Saved = false;
    int16_t Prev12Saved = 0;  // -1 true, 0 false
};

inline SharedState Module1;

// A list with bounds 0..count: count entries and the spare.
inline std::vector<QString> NewList(int16_t count) { return std::vector<QString>(count + 1); }

// Disables every "<<" and ">>" of the control window and forgets the saved page buttons.
void ResetNavigation();
