// Decoding time of a 4000 x 3000 JPEG picture: the picture loader against
// libjpeg-turbo's djpeg on the same file. Prints the medians; the loader
// should take no more than 1.2 times djpeg's time.

#include "jpeg_decoder.h"
#include "picture.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int Runs = 9;

double medianMs(const std::function<bool()> &run) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!run())
            return -1;
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a program to its end; true when it exited with 0.
bool runProgram(std::vector<std::string> arguments) {
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A test pattern with grain, so that it compresses like a photograph.
bool makePicture(const QString &path) {
    return runProgram({"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f",
                       "lavfi", "-i", "testsrc2=size=4000x3000", "-vf", "noise=alls=30:allf=t",
                       "-frames:v", "1", "-q:v", "2", path.toStdString()});
}

} // namespace

int main() {
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        std::printf("ffmpeg is missing: cannot make the test picture\n");
        return 0;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");
    if (!makePicture(path)) {
        std::printf("ffmpeg could not make the test picture\n");
        return 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    std::printf("picture: 4000 x 3000, %lld bytes; median of %d runs\n",
                static_cast<long long>(bytes.size()), Runs);

    const AnsiString name = path.toStdString();
    const double loader = medianMs([&] { return LoadPictureFile(name).image.width() == 4000; });
    const double decodeOnly = medianMs([&] { return DecodeJpeg(bytes).width() == 4000; });
    std::printf("picture loader (file to image): %8.1f ms\n", loader);
    std::printf("decoder only (memory to image): %8.1f ms\n", decodeOnly);

    if (QStandardPaths::findExecutable("djpeg").isEmpty()) {
        std::printf("djpeg is missing (Debian package libjpeg-turbo-progs): no comparison\n");
        return 0;
    }
    const double djpeg = medianMs([&] {
        return runProgram({"djpeg", "-bmp", "-outfile", "/dev/null", path.toStdString()});
    });
    // PPM output streams rows out without djpeg's bottom-up BMP buffering.
    const double djpegPpm = medianMs([&] {
        return runProgram({"djpeg", "-ppm", "-outfile", "/dev/null", path.toStdString()});
    });
    std::printf("djpeg -bmp (process, wall clock): %6.1f ms\n", djpeg);
    std::printf("djpeg -ppm (process, wall clock): %6.1f ms\n", djpegPpm);
    std::printf("loader / djpeg -bmp: %.2f (goal: at most 1.20)\n", loader / djpeg);
    std::printf("loader / djpeg -ppm: %.2f\n", loader / djpegPpm);
    return 0;
}
