// Every file of the default installation, missing, empty, cut in half or
// replaced by random bytes of its own length, under a whole headless run:
// the run ends with exit code 0 and nothing on stderr (so no sanitizer
// report in the sanitizer build), shows exactly the game's own messages,
// plays on where the file is optional, and leaves the damaged file as it was.
#include <cctype>
#include <random>

#include "faults/fault_run.h"

namespace faults {
namespace {

enum class Fault { Missing, Empty, Half, Random };

const char *const kFaultNames[] = {"missing", "empty", "half", "random"};
const char *const kPictures[] = {"kbl_b.nbf",  "kbl_bl.nbf", "kbl_n.nbf",   "kbl_sn.nbf",
                                 "kbl_cg.nbf", "kbl_lv.nbf", "kbl_gov.nbf", "kbl_sl.nbf"};
const std::string kGamePath = "\\Program Files\\Pellax Rim";
const std::string kOpenFail = "Open file : Fail|";

// What a run on a damaged installation must show and whether it reaches play.
struct Outcome {
    std::vector<std::string> messageBoxes;
    bool plays;
};

struct InstalledFile {
    std::string name;  // a short name for the test's title
    fs::path path;     // relative to the root
    Outcome (*expected)(Fault fault, const InstalledFile &file);
};

std::string DevicePath(const fs::path &path) {
    std::string device;
    for (const auto &part : path) device += "\\" + part.string();
    return device;
}

// Without the registry entry GamePath stays empty: the installation message,
// then one failure per picture, each under "\picture\" alone.
Outcome RegistryBroken(Fault, const InstalledFile &) {
    Outcome outcome{{"OpenError|This is a problem in process of installation please reinstall"},
                    false};
    for (const char *picture : kPictures)
        outcome.messageBoxes.push_back(kOpenFail + "\\picture\\" + picture);
    return outcome;
}

// A missing picture names itself; one that cannot be read ends the run
// without a word. The palette is accepted short, as the device accepts it.
Outcome PictureBroken(Fault fault, const InstalledFile &file) {
    if (fault == Fault::Missing) return {{kOpenFail + DevicePath(file.path)}, false};
    return {{}, file.name == "kbl.plf"};
}

Outcome MovieBroken(Fault fault, const InstalledFile &) {
    if (fault == Fault::Missing) return {{".\\Windows\\qzmmf.dll|Open movie file : Fail"}, true};
    return {{}, true};
}

Outcome PlaysOn(Fault, const InstalledFile &) {
    return {{}, true};
}

// Without the starting score file the game ends at start-up, silently.
Outcome ScoreBroken(Fault fault, const InstalledFile &) {
    return {{}, fault != Fault::Missing};
}

std::vector<InstalledFile> InstalledFiles() {
    const fs::path game = fs::path("Program Files") / "Pellax Rim";
    std::vector<InstalledFile> files = {
        {"registry", "registry.reg", RegistryBroken},
        {"kbl.plf", game / "picture" / "kbl.plf", PictureBroken},
    };
    for (const char *picture : kPictures)
        files.push_back({picture, game / "picture" / picture, PictureBroken});
    for (const char *sound : {"kbl_s_b.nwf", "kbl_s_fl.nwf", "kbl_s_lv.nwf", "kbl_s_gov.nwf"})
        files.push_back({sound, game / "sound" / sound, PlaysOn});
    files.push_back({"movie", fs::path("Windows") / "qzmmf.dll", MovieBroken});
    files.push_back({"soundtrack", fs::path("Windows") / "qznwf.dll", PlaysOn});
    files.push_back({"score", "kbl_sc_s.uc2", ScoreBroken});
    return files;
}

struct Case {
    InstalledFile file;
    Fault fault;
    uint32_t seed;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    uint32_t seed = 7;
    for (const InstalledFile &file : InstalledFiles())
        for (Fault fault : {Fault::Missing, Fault::Empty, Fault::Half, Fault::Random})
            cases.push_back({file, fault, seed++});
    return cases;
}

std::string Damage(const fs::path &file, Fault fault, uint32_t seed) {
    const std::string bytes = ReadBytes(file);
    std::string damaged;
    switch (fault) {
        case Fault::Missing:
            fs::remove(file);
            return {};
        case Fault::Empty:
            break;
        case Fault::Half:
            damaged = bytes.substr(0, bytes.size() / 2);
            break;
        case Fault::Random: {
            std::mt19937 random(seed);
            for (size_t i = 0; i < bytes.size(); ++i) damaged += static_cast<char>(random());
            break;
        }
    }
    WriteBytes(file, damaged);
    return damaged;
}

class InstallationFaultTest : public WholeRunTest, public ::testing::WithParamInterface<Case> {};

TEST_P(InstallationFaultTest, EndsCleanlyWithTheGamesOwnMessages) {
    const Case &test = GetParam();
    const fs::path file = Root() / test.file.path;
    const std::string damaged = Damage(file, test.fault, test.seed);
    const Outcome expected = test.file.expected(test.fault, test.file);

    const RunResult run = Run(kShortGame);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.MessageBoxes(), expected.messageBoxes);
    EXPECT_EQ(run.Played(), expected.plays) << "state: " << run.state.dump();
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back()["event"], "exit");
    EXPECT_TRUE(run.Events("write").empty());
    if (test.fault == Fault::Missing) {
        EXPECT_FALSE(fs::exists(file));
    } else {
        EXPECT_EQ(ReadBytes(file), damaged);
    }
}

std::string CaseName(const ::testing::TestParamInfo<Case> &info) {
    std::string name = info.param.file.name + "_" + kFaultNames[static_cast<int>(info.param.fault)];
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFile, InstallationFaultTest, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
}  // namespace faults
