// The maker of the default installation: every file the game needs, made
// from code, so that a fresh clone needs nothing else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assets {

using Bytes = std::vector<uint8_t>;

struct NamedFile {
    std::string devicePath;  // where the file lies on the device, e.g. "\Windows\qzmmf.dll"
    Bytes bytes;
};

// The installation directory that the registry entry names.
inline constexpr const char *kGamePath = "\\Program Files\\Pellax Rim";
// The file in the root that holds the registry.
inline constexpr const char *kRegistryFileName = "registry.reg";

// Run-length coding: the exact inverse of the game's decoder. Runs are split
// at 63; indexes 192..255 are always coded as runs.
Bytes EncodeRuns(const uint8_t *pixels, size_t count);

// A sprite file: 28-byte header, then the pixels (bottom row first) coded
// with EncodeRuns when `coded` is set.
Bytes MakeSpriteFile(const Bytes &pixelsBottomRowFirst, uint32_t stride, uint32_t imageHeight,
                     uint32_t frameWidth, uint32_t frameHeight, bool coded);

// The palette "kbl.plf" (768 bytes) and the eight pictures, by file name.
Bytes MakePalette();
std::vector<NamedFile> MakePictures();

// The four sound cues, as RIFF WAVE files.
std::vector<NamedFile> MakeSounds();

// The intro movie file and its sound track.
Bytes MakeIntroMovie();
Bytes MakeIntroSoundTrack();

// The registry text file and the starting score file (holding 0).
std::string MakeRegistryText();
Bytes MakeScoreFile(int32_t value);

// The program's icon (101), size x size pixels, each 0xAARRGGBB, top row
// first; empty for a size below 1. Not part of the installation: the desktop
// shows it on the window and the packaging installs it.
std::vector<uint32_t> MakeIconArgb(int size);

// Writes the files of the default installation that root lacks and leaves
// every file there as it is; names match whatever their case, as on the
// device. The record the game writes itself is no file of the installation.
// made gets the device path of each file written. Returns false with a
// message in error when a file cannot be written.
bool MakeMissingFiles(const std::filesystem::path &root, std::vector<std::string> &made,
                      std::string &error);

// Writes the whole default installation into root (created if missing).
// Returns false with a message in error when a file cannot be written.
bool MakeDefaultInstallation(const std::filesystem::path &root, std::string &error);

}  // namespace assets
