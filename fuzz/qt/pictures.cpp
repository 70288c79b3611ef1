// libFuzzer target: arbitrary bytes as a picture the player gives (card set, deck, background: BMP,
// JPEG, PNG read by content) and as the picture library CWD.RGF.
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QResource>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "ui/image_files.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image plugins (JPEG) and painting need an application; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace cw::ui;
    static const std::string folder = cw::fuzz::scratchFolder("cw_fuzz_pictures_");
    const std::string path = folder + "picture";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  std::streamsize(size));
    const QString file = QString::fromStdString(path);
    const QImage image = readImageFile(file);
    if (!image.isNull() && (image.width() > 16384 || image.height() > 16384))
        __builtin_trap();  // the size cap holds
    // As the picture library: registered only when it is ours; every file in it is read.
    if (registerPictureLibrary(file, QStringLiteral("/fuzz"))) {
        QDirIterator it(QStringLiteral(":/fuzz"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString inside = it.next();
            QFile f(inside);
            if (f.open(QIODevice::ReadOnly))
                (void)f.readAll();
            (void)readImageFile(inside);
        }
        QResource::unregisterResource(file, QStringLiteral("/fuzz"));
    }
    return 0;
}
