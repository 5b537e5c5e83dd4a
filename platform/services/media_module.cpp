#include "media_module.h"

#include "media_backend.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace media {

namespace {

const Module *&loaded() {
    static const Module *module = nullptr;
    return module;
}

// Beside the program, or in the lib folder next to its folder (the build
// tree keeps programs, tests and benchmarks in folders of their own).
const Module *load() {
    chooseBackend();
    const QString programDir = QCoreApplication::applicationDirPath();
    for (const QString &dir : {programDir, programDir + QStringLiteral("/../lib")}) {
        QLibrary library(dir + QStringLiteral("/liblector_media"));
        using Entry = const Module *(*)();
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("lectorMediaModule")))
            return entry();
    }
    return nullptr;
}

} // namespace

const Module *module() {
    static bool tried = false;
    if (!tried && QCoreApplication::instance()) {
        tried = true;
        loaded() = load();
    }
    return loaded();
}

const Module *loadedModule() {
    return loaded();
}

} // namespace media
