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

// Whether the bytes are a well-formed Qt binary resource file: every directory, name and data block
// its tree points at lies inside the file, no directory is reached twice, and no data block claims
// to unpack to more than 64 MB. Qt reads such a file trusting its offsets; a damaged one would crash.
bool isWellFormedResourceFile(const QByteArray& bytes);

// Registers the picture library file at `path` (a Qt binary resource file) under the resource
// root `root` ("/cwd1"); false, with nothing registered, when the file is missing, is no well-formed
// resource file, or is another program's (its index does not begin with our signature).
bool registerPictureLibrary(const QString& path, const QString& root);

} // namespace cw::ui
