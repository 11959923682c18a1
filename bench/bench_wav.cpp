// Joining two one-hour recordings, timed against the command-line tools that
// do the same work: `cat` (the floor for a 16 kHz mono 16-bit join, which
// only copies bytes) and `sox IN1 IN2 -r 16000 -c 1 -b 16 OUT` (for a join
// that converts 44.1 kHz stereo). Every contender runs as a child process,
// so its peak memory is its own.
//
//   bench_wav [folder]            runs the benchmark; the inputs (about 1.5 GB)
//                                 go to a temporary folder inside folder (default
//                                 /tmp) and are removed at the end
//   bench_wav --plak UIT IN1 IN2  joins two files (the child the benchmark times)

#include "audio/defwaves.h"
#include "lines/efout.h"

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

constexpr int herhalingen = 3;

struct TMeting
{
    double seconden = 0;
    long pieKB = 0; // peak resident memory of the child
};

// Runs a command, its standard output going to uitvoer when that is given.
TMeting meet(const std::vector<std::string> &opdracht, const std::string &uitvoer = {})
{
    posix_spawn_file_actions_t acties;
    posix_spawn_file_actions_init(&acties);
    if (!uitvoer.empty())
        posix_spawn_file_actions_addopen(&acties, 1, uitvoer.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char *> argv;
    for (const std::string &a : opdracht)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &acties, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage gebruik {};
    wait4(pid, &status, 0, &gebruik);
    const auto eind = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&acties);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return {std::chrono::duration<double>(eind - begin).count(), gebruik.ru_maxrss};
}

TMeting mediaan(std::vector<TMeting> metingen)
{
    std::sort(metingen.begin(), metingen.end(),
              [](const TMeting &a, const TMeting &b) { return a.seconden < b.seconden; });
    TMeting m = metingen[metingen.size() / 2];
    for (const TMeting &x : metingen)
        m.pieKB = std::max(m.pieKB, x.pieKB);
    return m;
}

// One hour of noise and tone: a minute made by sox, repeated.
void maakUur(const std::string &pad, const std::string &rate, const std::string &kanalen)
{
    const std::string minuut = pad + ".minuut.wav";
    meet({"sox", "-n", "-r", rate, "-c", kanalen, "-b", "16", minuut, "synth", "60", "pinknoise",
          "sine", "440", "vol", "0.4"});
    meet({"sox", minuut, pad, "repeat", "59"});
    QFile::remove(QString::fromStdString(minuut));
}

void vergelijk(const char *titel, const std::string &zelf, const std::string &in1, const std::string &in2,
               const std::string &uit, const char *naamAnder, const std::vector<std::string> &ander,
               const std::string &anderUit)
{
    std::vector<TMeting> eigen, vreemd;
    for (int i = 0; i < herhalingen; ++i) {
        vreemd.push_back(meet(ander, anderUit));
        QFile::remove(QString::fromStdString(uit));
        eigen.push_back(meet({zelf, "--plak", uit, in1, in2}));
    }
    // The joined file holds both hours at 16 kHz.
    const qint64 frames = leesWavKop(QString::fromStdString(uit)).aantalFrames;
    QFile::remove(QString::fromStdString(uit));
    const TMeting e = mediaan(eigen);
    const TMeting v = mediaan(vreemd);
    std::printf("%s\n", titel);
    std::printf("  joined file: %lld frames (%.1f s at 16 kHz)\n", static_cast<long long>(frames),
                frames / 16000.0);
    std::printf("  join   %7.2f s  peak %6.1f MB\n", e.seconden, e.pieKB / 1024.0);
    std::printf("  %-6s %7.2f s  peak %6.1f MB\n", naamAnder, v.seconden, v.pieKB / 1024.0);
    std::printf("  ratio join / %s: %.2f (median of %d runs)\n", naamAnder, e.seconden / v.seconden,
                herhalingen);
    std::fflush(stdout);
}

int plak(char **argv)
{
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    try {
        if (!plakWavs(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                      QString::fromLocal8Bit(argv[4]), totaal, aantal1, aantal2, begin2)) {
            std::fprintf(stderr, "an input is missing\n");
            return 1;
        }
    } catch (const EFout &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.bericht()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::string(argv[1]) == "--plak")
        return plak(argv);

    QCoreApplication app(argc, argv);
    const std::string zelf = QCoreApplication::applicationFilePath().toStdString();
    QTemporaryDir map((argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath()) + "/bench_wav-XXXXXX");
    if (!map.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    auto pad = [&](const char *naam) { return map.filePath(naam).toStdString(); };

    std::printf("Making two one-hour recordings of each kind with sox...\n");
    std::fflush(stdout);
    maakUur(pad("a16.wav"), "16000", "1");
    maakUur(pad("b16.wav"), "16000", "1");
    vergelijk("16 kHz mono 16-bit, 2 x 1 hour (aim: ratio <= 2)", zelf, pad("a16.wav"), pad("b16.wav"),
              pad("uit.wav"), "cat", {"cat", pad("a16.wav"), pad("b16.wav")}, pad("cat.wav"));
    QFile::remove(map.filePath("cat.wav"));
    QFile::remove(map.filePath("a16.wav"));
    QFile::remove(map.filePath("b16.wav"));

    maakUur(pad("a44.wav"), "44100", "2");
    maakUur(pad("b44.wav"), "44100", "2");
    vergelijk("44.1 kHz stereo 16-bit, 2 x 1 hour (aim: ratio <= 1)", zelf, pad("a44.wav"), pad("b44.wav"),
              pad("uit.wav"), "sox",
              {"sox", pad("a44.wav"), pad("b44.wav"), "-r", "16000", "-c", "1", "-b", "16", pad("sox.wav")},
              {});
    return 0; // the temporary folder and everything in it go with map
}
