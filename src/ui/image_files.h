// Reading the pictures and the picture library the program is given: every byte of them is untrusted.
#pragma once

#include <QImage>
#include <QString>

namespace cw::ui {

// Whether `path` names a readable picture file (BMP, JPEG, PNG...; the format is taken
// from the content, not the file name).
bool isValidImageFile(const QString& path);
// The picture in `path`, or a null image when it is missing or cannot be decoded.
QImage readImageFile(const QString& path);

// Registers the picture library file at `path` (a Qt binary resource file) under the resource
// root `root` ("/cwd1"); false, with nothing registered, when the file is missing, is no resource
// file, or is another program's (its index does not begin with our signature).
bool registerPictureLibrary(const QString& path, const QString& root);

} // namespace cw::ui
