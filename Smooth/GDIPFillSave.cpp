// The saved forms of a fill: INI section, component stream, clipboard.
#include "Smooth/GDIPFill.h"
#include "Smooth/GDIPFillFields.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cctype>
#include <cstring>
#include <map>

namespace {

// The stream: a signature, then (name, kind, value) records, then a zero byte. Integers are 32-bit
// little-endian; pictures are a 32-bit length and the image file's bytes.
const char kSignature[] = "SVR1";
constexpr char kInteger = 1, kBytes = 2;
const char* const kOwner = "SaveObject.";

void PutLong(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

void PutName(QByteArray& out, const QByteArray& name)
{
    out.append(char(name.size()));
    out.append(name);
}

class StreamReader {
public:
    explicit StreamReader(const QByteArray& bytes) : data_(bytes) {}
    std::uint8_t Byte()
    {
        Need(1);
        return std::uint8_t(data_[pos_++]);
    }
    std::uint32_t Long()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(Byte()) << (8 * i);
        return v;
    }
    QByteArray Take(qint64 n)
    {
        Need(n);
        QByteArray b = data_.mid(pos_, n);
        pos_ += n;
        return b;
    }

private:
    void Need(qint64 n)
    {
        if (n < 0 || n > data_.size() - pos_) throw EReadError("Stream read error");
    }
    const QByteArray& data_;
    qint64 pos_ = 0;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void LoadPicture(TGDIPPicture* picture, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    picture->LoadFromStream(&buffer);
}

}  // namespace

QByteArray StreamToHex(const QByteArray& bytes) { return bytes.toHex().toUpper(); }

QByteArray HexToStream(const QByteArray& hex)
{
    QByteArray out;
    out.reserve(hex.size() / 2);
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int hi = HexDigit(char(std::toupper(static_cast<unsigned char>(hex[i]))));
        const int lo = HexDigit(char(std::toupper(static_cast<unsigned char>(hex[i + 1]))));
        if (hi < 0 || lo < 0) throw EConvertError("No Hex-Number");
        out.append(char(hi * 16 + lo));
    }
    return out;
}

QByteArray SaveFillToStream(const TGDIPFill* fill)
{
    if (!fill) throw std::logic_error("Assertion failed: a fill to save (Smooth/GDIPFill)");
    const TGDIPFill defaults;
    QByteArray out(kSignature, 4);
    PutName(out, "TSaver");
    for (const auto& field : FillFields::kFields) {
        const int value = field.get(*fill);
        if (value == field.get(defaults)) continue;
        PutName(out, QByteArray(kOwner) + field.name);
        out.append(kInteger);
        PutLong(out, std::uint32_t(value));
    }
    const std::pair<const char*, const TGDIPPicture*> pictures[] = {{"BackGroundPicture", fill->BackGroundPicture()},
                                                                     {"Picture", fill->Picture()}};
    for (const auto& [name, picture] : pictures) {
        if (picture->Empty()) continue;
        PutName(out, QByteArray(kOwner) + name);
        out.append(kBytes);
        PutLong(out, std::uint32_t(picture->Data().size()));
        out.append(picture->Data());
    }
    out.append('\0');
    return out;
}

void LoadFillFromStream(TGDIPFill* fill, const QByteArray& stream)
{
    if (!fill) throw std::logic_error("Assertion failed: a fill to load (Smooth/GDIPFill)");
    // Read it all first, so that a broken stream changes nothing.
    StreamReader r(stream);
    if (r.Take(4) != QByteArray(kSignature, 4) || r.Take(r.Byte()) != "TSaver") throw EReadError("Invalid stream format");
    std::map<QByteArray, int> integers;
    std::map<QByteArray, QByteArray> pictures;
    for (std::uint8_t length = r.Byte(); length != 0; length = r.Byte()) {
        const QByteArray name = r.Take(length);
        if (!name.startsWith(kOwner)) throw EReadError("Invalid property path");
        const QByteArray property = name.mid(int(std::strlen(kOwner)));
        const char kind = char(r.Byte());
        if (kind == kBytes && (property == "Picture" || property == "BackGroundPicture")) {
            pictures[property] = r.Take(r.Long());
            continue;
        }
        const FillFields::Field* field = nullptr;
        for (const auto& f : FillFields::kFields)
            if (property == f.name) field = &f;
        if (!field || kind != kInteger) throw EReadError("Property " + property.toStdString() + " does not exist");
        const int value = int(r.Long());
        if (value < field->low || value > field->high) throw EReadError("Invalid property value");
        integers[property] = value;
    }
    // A pasted fill is the copied fill: what the stream leaves out is at its default.
    const TGDIPFill defaults;
    for (const auto& f : FillFields::kFields) {
        const auto found = integers.find(f.name);
        f.set(*fill, found != integers.end() ? found->second : f.get(defaults));
    }
    for (const char* name : {"BackGroundPicture", "Picture"}) {
        TGDIPPicture* picture = QByteArray(name) == "Picture" ? fill->Picture() : fill->BackGroundPicture();
        const auto found = pictures.find(name);
        if (found != pictures.end() && !found->second.isEmpty()) LoadPicture(picture, found->second);
        else if (!picture->Empty()) picture->Assign(static_cast<const TGDIPPicture*>(nullptr));
    }
}

void TGDIPFill::SaveToClipBoard() const
{
    auto data = new QMimeData;
    data->setData(QString::fromLatin1(kGDIPFillMimeType), SaveFillToStream(this));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool TGDIPFill::LoadFromClipBoard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString format = QString::fromLatin1(kGDIPFillMimeType);
    if (!data || !data->hasFormat(format)) return false;
    try {
        LoadFillFromStream(this, data->data(format));
    } catch (const EReadError&) {
        return false;
    }
    return true;
}

bool TGDIPFill::SaveToFile(const QString& fileName, const QString& section) const
{
    TIniFile ini(fileName.toStdString());
    return SaveToFile(ini, section);
}

void TGDIPFill::LoadFromFile(const QString& fileName, const QString& section)
{
    TIniFile ini(fileName.toStdString());
    LoadFromFile(ini, section);
}

bool TGDIPFill::SaveToFile(TIniFile& ini, const QString& section) const
{
    // The whole section goes in one write of the file, so a failure leaves none of it.
    const AnsiString s = section.toStdString();
    std::vector<TIniValue> values;
    for (const auto& field : FillFields::kFields) values.push_back({s, field.name, std::to_string(field.get(*this))});
    const std::pair<const char*, const TGDIPPicture*> pictures[] = {{"Picture", FPicture},
                                                                     {"BackgroundPicture", FBackGroundPicture}};
    for (const auto& [key, picture] : pictures) {
        const QByteArray hex = StreamToHex(picture->Data());
        values.push_back({s, key, hex.toStdString()});
        // The length goes under the picture's size key; for the picture that is PictureSize itself.
        values.push_back({s, std::string(key) + "Size", std::to_string(hex.size())});
    }
    return ini.WriteValues(values);
}

void TGDIPFill::LoadFromFile(TIniFile& ini, const QString& section)
{
    const AnsiString s = section.toStdString();
    for (const auto& field : FillFields::kFields) field.store(*this, ini.ReadInteger(s, field.name, field.get(*this)));
    const std::pair<const char*, TGDIPPicture*> pictures[] = {{"Picture", FPicture},
                                                               {"BackgroundPicture", FBackGroundPicture}};
    for (const auto& [key, picture] : pictures) {
        const int length = ini.ReadInteger(s, std::string(key) + "Size", 0);
        if (length <= 0) continue;
        // The stored length bounds the text read, as a buffer of that size would.
        AnsiString hex = ini.ReadString(s, key, "");
        if (hex.size() > size_t(length)) hex.resize(size_t(length));
        LoadPicture(picture, HexToStream(QByteArray::fromStdString(hex)));
    }
    Changed();
}
