// Joining two one-hour recordings, timed against the command-line tools that
// do the same work: `cat` (the floor for a 16 kHz mono 16-bit join, which
// only copies bytes) and `sox IN1 IN2 -r 16000 -c 1 -b 16 OUT` (for a join
// that converts 44.1 kHz stereo). Every contender runs as a child process,
// so its peak memory is its own. The contenders take turns, five runs each;
// the fastest run of each is compared, since on a shared machine noise only
// adds time.
//
//   bench_wav [folder]            runs the benchmark; the inputs (about 1.5 GB)
//                                 go to a temporary folder inside folder (default
//                                 /tmp) and are removed at the end
//   bench_wav --join OUT IN1 IN2  joins two files (the child the benchmark times)

#include "base/error.h"
#include "formats/joinpart.h"
#include "formats/recording.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int repetitions = 5;

struct Measurement
{
    double seconds = 0;
    long peakKB = 0; // peak resident memory of the child
};

// Runs a command, its standard output going to output when that is given.
Measurement run(const std::vector<std::string> &command, const std::string &output = {})
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!output.empty())
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char *> argv;
    for (const std::string &a : command)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - begin).count(), usage.ru_maxrss};
}

Measurement fastest(std::vector<Measurement> measurements)
{
    std::sort(measurements.begin(), measurements.end(),
              [](const Measurement &a, const Measurement &b) { return a.seconds < b.seconds; });
    Measurement m = measurements.front();
    for (const Measurement &x : measurements)
        m.peakKB = std::max(m.peakKB, x.peakKB);
    return m;
}

// One hour of noise and tone: a minute made by sox, repeated.
void makeHour(const std::string &path, const std::string &rate, const std::string &channels)
{
    const std::string minute = path + ".minute.wav";
    run({"sox", "-n", "-r", rate, "-c", channels, "-b", "16", minute, "synth", "60", "pinknoise",
         "sine", "440", "vol", "0.4"});
    run({"sox", minute, path, "repeat", "59"});
    QFile::remove(QString::fromStdString(minute));
}

void compare(const char *title, const std::string &self, const std::string &in1, const std::string &in2,
             const std::string &out, const char *otherName, const std::vector<std::string> &other,
             const std::string &otherOut, const char *aim)
{
    std::vector<Measurement> ours, theirs;
    for (int i = 0; i < repetitions; ++i) {
        theirs.push_back(run(other, otherOut));
        QFile::remove(QString::fromStdString(out));
        ours.push_back(run({self, "--join", out, in1, in2}));
    }
    // The joined file holds both hours at 16 kHz.
    const qint64 frames = probeRecording(QString::fromStdString(out)).frames;
    QFile::remove(QString::fromStdString(out));
    const Measurement o = fastest(ours);
    const Measurement t = fastest(theirs);
    std::printf("%s\n", title);
    std::printf("  joined file: %lld frames (%.1f s at 16 kHz)\n", static_cast<long long>(frames),
                frames / 16000.0);
    std::printf("  join   %7.2f s  peak %6.1f MB\n", o.seconds, o.peakKB / 1024.0);
    std::printf("  %-6s %7.2f s  peak %6.1f MB\n", otherName, t.seconds, t.peakKB / 1024.0);
    std::printf("  ratio join / %s: %.2f (fastest of %d runs each; aim <= %s)\n", otherName, o.seconds / t.seconds,
                repetitions, aim);
    std::fflush(stdout);
}

int join(char **argv)
{
    std::vector<JoinPart> parts{{QString::fromLocal8Bit(argv[3])}, {QString::fromLocal8Bit(argv[4])}};
    try {
        joinParts(QString::fromLocal8Bit(argv[2]), parts);
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::string(argv[1]) == "--join")
        return join(argv);

    QCoreApplication app(argc, argv);
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    QTemporaryDir folder((argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath()) + "/bench_wav-XXXXXX");
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    auto path = [&](const char *name) { return folder.filePath(name).toStdString(); };

    std::printf("Making two one-hour recordings of each kind with sox...\n");
    std::fflush(stdout);
    makeHour(path("a16.wav"), "16000", "1");
    makeHour(path("b16.wav"), "16000", "1");
    compare("16 kHz mono 16-bit, 2 x 1 hour", self, path("a16.wav"), path("b16.wav"),
            path("out.wav"), "cat", {"cat", path("a16.wav"), path("b16.wav")}, path("cat.wav"), "1.3");
    QFile::remove(folder.filePath("cat.wav"));
    QFile::remove(folder.filePath("a16.wav"));
    QFile::remove(folder.filePath("b16.wav"));

    makeHour(path("a44.wav"), "44100", "2");
    makeHour(path("b44.wav"), "44100", "2");
    compare("44.1 kHz stereo 16-bit to 16 kHz mono, 2 x 1 hour", self, path("a44.wav"), path("b44.wav"),
            path("out.wav"), "sox",
            {"sox", path("a44.wav"), path("b44.wav"), "-r", "16000", "-c", "1", "-b", "16", path("sox.wav")},
            {}, "0.2");
    return 0; // the temporary folder and everything in it go with folder
}
