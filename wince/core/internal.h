// What the core's files share among themselves and nothing outside sees.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "wince/core/control.h"

namespace wince::core {

// Each part of the core puts itself back to its freshly-started state.
void ResetQueue();
void ResetWindows();
void ResetFiles();
void ResetRegistry();
void ResetRandom();
void ResetDisplay();

// Whether a handle names a live window (a destroyed one does not).
bool WindowIsAlive(HWND window);

// ASCII and Latin-1 letters fold to lower case, as the device compares
// file, class and registry names.
char16_t FoldCase(char16_t c);
bool EqualNoCase(const std::u16string &a, const std::u16string &b);

// Changes made durable on the host's disk: a file's written data, a folder's
// entries (after a delete or a move). False when the disk refused.
bool SyncStream(std::FILE *stream);
void SyncFolder(const std::filesystem::path &folder);

// What has reached the disk (power_cut.cpp), followed while a power cut is
// to come: the file layer tells of each change as it makes it,
// FlushFileBuffers of a file's data on the disk, SyncFolder of a folder's
// names.
void FollowDisk(bool on);
void BeforeDataChange(const std::filesystem::path &file);  // made, emptied or written
void DataFlushed(const std::filesystem::path &file);
void BeforeDelete(const std::filesystem::path &file);
void Moved(const std::filesystem::path &from, const std::filesystem::path &to);
void FolderSynced(const std::filesystem::path &folder);
// Every file and name back to what is on the disk.
void CutPower();

// A null pointer reads as the empty text.
std::u16string FromDevice(const WCHAR *text);

}  // namespace wince::core
