// Every file of the default installation, missing, empty, cut in half or
// replaced by random bytes of its own length, under a whole headless run:
// the run ends with exit code 0 and nothing on stderr (so no sanitizer
// report in the sanitizer build), shows exactly the game's own messages,
// plays on where the file is optional, and leaves the damaged file as it was.
// A start-up that fails ends at once: its messages, then the exit.
#include <algorithm>
#include <cctype>
#include <random>

#include "support/program_run.h"
#include "wince/seam/host.h"

namespace pellax_test {
namespace {

enum class Fault { Missing, Empty, Half, Random, ReadOnly, LoneSurrogate };
const char *const kFaultNames[] = {"missing", "empty", "half", "random", "readonly", "surrogate"};
// GAMEPATH lines naming no host folder: a lone UTF-16 surrogate, spelt in
// UTF-8 form or as raw bytes.
const std::string kInstalledPath = "\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\"";
const std::string kSurrogatePaths[] = {"\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\xED\xA0\x80\"",
                                       "\"GAMEPATH\"=hex:5c,00,00,d8,41,00,00,00"};
// The eight pictures by the game's own table.
const std::vector<std::string> kPictures = [] {
    std::vector<std::string> names;
    for (const PictureFile &picture : PictureFileTable)
        names.push_back(wince::ToUtf8(picture.name));
    return names;
}();
const std::string kOpenFail = "Open file : Fail|";

using Texts = std::vector<std::string>;

// A file, how it is damaged, and what the run must show and whether it plays.
struct Case {
    std::string name, device;  // a short name for the test's title; the device path
    Fault fault;
    Texts messageBoxes;
    bool plays;
    std::string gamePath = {};  // for LoneSurrogate: the registry line that replaces it
};

std::vector<Case> Cases() {
    const std::string game = "\\Program Files\\Pellax Rim\\";
    std::vector<Case> cases;
    for (Fault fault : {Fault::Missing, Fault::Empty, Fault::Half, Fault::Random}) {
        const bool missing = fault == Fault::Missing;
        // Without the registry entry GamePath stays empty: the installation
        // message, then one failure per picture, each under "\picture\" alone.
        Texts registry{"OpenError|This is a problem in process of installation please reinstall"};
        for (const std::string &picture : kPictures)
            registry.push_back(kOpenFail + "\\picture\\" + picture);
        cases.push_back({"registry", "\\registry.reg", fault, registry, false});
        // A missing picture names itself; one that cannot be read ends the run
        // without a word. The palette is accepted short, as the device accepts it.
        Texts pictures = kPictures;
        pictures.push_back("kbl.plf");
        for (const std::string &picture : pictures) {
            const std::string device = game + "picture\\" + picture;
            cases.push_back({picture, device, fault, missing ? Texts{kOpenFail + device} : Texts{},
                             !missing && picture == "kbl.plf"});
        }
        for (const char *sound : {"kbl_s_b.nwf", "kbl_s_fl.nwf", "kbl_s_lv.nwf", "kbl_s_gov.nwf"})
            cases.push_back({sound, game + "sound\\" + sound, fault, {}, true});
        cases.push_back({"movie", "\\Windows\\qzmmf.dll", fault,
                         missing ? Texts{".\\Windows\\qzmmf.dll|Open movie file : Fail"} : Texts{},
                         true});
        cases.push_back({"soundtrack", "\\Windows\\qznwf.dll", fault, {}, true});
        // Without the starting score file the game ends at start-up, silently.
        cases.push_back({"score", "\\kbl_sc_s.uc2", fault, {}, !missing});
    }
    // The score file is only read: read-only, it serves.
    cases.push_back({"score", "\\kbl_sc_s.uc2", Fault::ReadOnly, {}, true});
    // A folder that cannot be named on the host is a missing one; the
    // messages show the surrogate as U+FFFD.
    const std::pair<std::string, std::string> kSurrogates[] = {
        {"utf8", "\\Program Files\\Pellax Rim\xEF\xBF\xBD"},
        {"hex",
         "\\\xEF\xBF\xBD"
         "A"}};
    for (size_t i = 0; i < 2; ++i) {
        const std::string &folder = kSurrogates[i].second;
        Texts pictures{kOpenFail + folder + "\\picture\\kbl.plf"};
        for (const std::string &picture : kPictures)
            pictures.push_back(kOpenFail + folder + "\\picture\\" + picture);
        cases.push_back({"registry_" + kSurrogates[i].first, "\\registry.reg", Fault::LoneSurrogate,
                         pictures, false, kSurrogatePaths[i]});
    }
    return cases;
}

// Damages the file and returns what it now holds.
std::string Damage(const fs::path &file, Fault fault, uint32_t seed, const std::string &line) {
    std::string bytes = ReadBytes(file);
    if (fault == Fault::LoneSurrogate) {
        bytes.replace(bytes.find(kInstalledPath), kInstalledPath.size(), line);
        WriteBytes(file, bytes.data(), bytes.size());
        return bytes;
    }
    if (fault == Fault::ReadOnly) return fs::permissions(file, fs::perms::owner_read), bytes;
    if (fault == Fault::Missing) return fs::remove(file), std::string();
    bytes.resize(fault == Fault::Empty  ? 0
                 : fault == Fault::Half ? bytes.size() / 2
                                        : bytes.size());
    std::mt19937 random(seed);
    if (fault == Fault::Random)
        for (char &c : bytes) c = static_cast<char>(random());
    WriteBytes(file, bytes.data(), bytes.size());
    return bytes;
}

class InstallationFaultTest : public ProgramTest, public ::testing::WithParamInterface<Case> {};

TEST_P(InstallationFaultTest, EndsCleanlyWithTheGamesOwnMessages) {
    const Case &test = GetParam();
    CopyInstallation();
    std::string path = test.device.substr(1);
    std::replace(path.begin(), path.end(), '\\', '/');
    const fs::path file = Root() / path;
    ASSERT_TRUE(fs::is_regular_file(file)) << "not installed";
    const std::string damaged =
        Damage(file, test.fault, static_cast<uint32_t>(test.name.size()), test.gamePath);

    // A tap ends the intro, a key starts a game, a move, the state, the close.
    const RunResult run = RunScript(kSkipIntro + Press(300, 37) + Press(400, 39) +
                                    "600 state state.json\n700 close\n");

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.MessageBoxes(), test.messageBoxes);
    EXPECT_EQ(run.Played(), test.plays) << "state: " << run.state.dump();
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back()["event"], "exit");
    EXPECT_FALSE(run.Wrote());
    if (!test.plays) {
        // No intro, no frame: only the messages, and the exit at once.
        EXPECT_EQ(run.trace.size(), test.messageBoxes.size() + 1);
        EXPECT_EQ(run.trace.back()["t"], 0);
    }
    EXPECT_EQ(fs::exists(file), test.fault != Fault::Missing);
    EXPECT_EQ(ReadBytes(file), damaged);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, InstallationFaultTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case> &param) {
                             std::string name = param.param.name + "_" +
                                                kFaultNames[static_cast<int>(param.param.fault)];
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace pellax_test
