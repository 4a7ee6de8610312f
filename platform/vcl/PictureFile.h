#pragma once
// Pictures named by a path (the settings' background, a button's picture file): read whole through
// the reader of regular files, then decoded from memory. A pipe, a device or a folder named in
// place of a picture is refused at once, never handed to a decoder that would wait on it or read
// it without end, and a file too large for a picture is not read at all.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <string>

// Larger files are no pictures the program shows; reading them whole would only exhaust memory.
inline constexpr std::size_t kMaxPictureFileBytes = 256u * 1024 * 1024;

// The picture in bytes, decoded; a null image when they hold none, or when its header claims more
// pixels than any picture of the program needs (a broken or hostile file).
QImage DecodePicture(const QByteArray& bytes);

// The picture in the regular file at path (the file system's own bytes); a null image when
// there is no such file, it cannot be read, or it holds no picture.
QImage LoadPictureFile(const std::string& path);
