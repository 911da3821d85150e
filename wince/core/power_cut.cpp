// What of the files has reached the disk, for the power cut tests inject
// (FileFaults::powerCutAtStop). A file's data is on the disk once flushed; a
// name made, removed or moved, once its folder is synced. Files are followed
// from name to name, so that a cut can put back under each name the file it
// held on the disk, with the data that file last flushed.
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "wince/core/internal.h"
#include "wince/seam/host_file.h"

namespace fs = std::filesystem;

namespace {

struct Followed {
    fs::path now;  // empty once deleted
    // Its content as last flushed, while it has changed since; a file made
    // since holds nothing on the disk.
    std::optional<std::string> flushed;
};

struct Disk {
    bool on = false;
    std::vector<Followed> files;
    // Each name changed since its folder was last synced, and the file it
    // names on the disk (nothing: no file).
    std::map<fs::path, std::optional<size_t>> names;
};

Disk &State() {
    static Disk disk;
    return disk;
}

std::string ReadAll(const fs::path &path) {
    return wince::ReadHostFile(path).value_or(std::string());
}

// The file under this name now, followed from here on.
size_t Follow(const fs::path &path) {
    Disk &disk = State();
    for (size_t i = 0; i < disk.files.size(); ++i)
        if (disk.files[i].now == path) return i;
    disk.files.push_back({path, std::nullopt});
    return disk.files.size() - 1;
}

// The first change of a name since its folder's sync keeps what it named.
void NameChanges(const fs::path &path, std::optional<size_t> onDisk) {
    State().names.emplace(path, onDisk);
}

void KeepFlushed(Followed &file) {
    if (!file.flushed) file.flushed = ReadAll(file.now);
}

}  // namespace

namespace wince::core {

void FollowDisk(bool on) {
    State() = Disk();
    State().on = on;
}

void BeforeDataChange(const fs::path &file) {
    if (!State().on) return;
    std::error_code error;
    if (fs::exists(file, error)) return KeepFlushed(State().files[Follow(file)]);
    NameChanges(file, std::nullopt);
    State().files.push_back({file, std::string()});
}

void DataFlushed(const fs::path &file) {
    if (State().on) State().files[Follow(file)].flushed.reset();
}

void BeforeDelete(const fs::path &file) {
    if (!State().on) return;
    const size_t id = Follow(file);
    KeepFlushed(State().files[id]);
    State().files[id].now.clear();
    NameChanges(file, id);
}

void Moved(const fs::path &from, const fs::path &to) {
    if (!State().on) return;
    const size_t id = Follow(from);
    NameChanges(from, id);
    NameChanges(to, std::nullopt);
    State().files[id].now = to;
}

void FolderSynced(const fs::path &folder) {
    std::erase_if(State().names,
                  [&](const auto &name) { return name.first.parent_path() == folder; });
}

// Every name and every file goes back to what the disk holds: what each
// name will hold is worked out before anything is touched, since a file may
// have to go back to a name another file holds now.
void CutPower() {
    Disk &disk = State();
    std::map<fs::path, std::optional<std::string>> after;
    for (const Followed &file : disk.files)
        if (file.flushed && !file.now.empty()) after[file.now] = file.flushed;
    for (const auto &[name, id] : disk.names) {
        if (!id) {
            after[name] = std::nullopt;
            continue;
        }
        const Followed &file = disk.files[*id];
        after[name] = file.flushed ? *file.flushed : ReadAll(file.now);
    }
    for (const auto &[name, content] : after) {
        std::error_code ignored;
        if (!content) {
            fs::remove(name, ignored);
            continue;
        }
        wince::WriteHostFile(name, *content);
    }
    FollowDisk(disk.on);
}

}  // namespace wince::core
