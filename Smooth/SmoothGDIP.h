#pragma once
// The object layer of the smooth components: one wrapper class per kind of drawing object, each
// operation forwarding to one flat function of platform/gdiplus. A wrapper keeps the status of its
// most recent failing call (GetLastStatus reads and clears it); no operation throws. Wrappers
// live for one drawing call and are freed by whoever made them.
#include "platform/gdiplus/GdiplusFlat.h"
#include "platform/vcl/Graphics.h"

#include <QString>
#include <cstddef>
#include <functional>

using Status = gdip::GpStatus;
using gdip::ARGB;
using gdip::INT;
using gdip::REAL;
using TGPRectF = gdip::RectF;
using TGPRect = gdip::Rect;
using TGPPointF = gdip::PointF;

// "No colour": the part is not drawn.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;

// A rectangle by its edges, right and bottom exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A change handler that belongs to its object: a copy starts without one, so that copying a font
// never wires the copy to the original's owner.
class TChangeLink {
public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink&) {}
    TChangeLink& operator=(const TChangeLink&) { return *this; }
    std::function<void()> Handler;
    void operator()() const
    {
        if (Handler) Handler();
    }
};

// The font of a control: family name, size in points, style bits (fsBold, ...) and colour. The
// setters and Assign tell OnChange when they change something; plain field writes don't.
struct TFont {
    TFont(QString name = QStringLiteral("Tahoma"), int size = 8, TFontStyles style = 0, TColor color = clBlack)
        : Name(std::move(name)), Size(size), Style(style), Color(color)
    {
    }
    QString Name;
    int Size;
    TFontStyles Style;
    TColor Color;
    TChangeLink OnChange;

    void SetName(const QString& v) { Store(Name, v); }
    void SetSize(int v) { Store(Size, v); }
    void SetStyle(TFontStyles v) { Store(Style, v); }
    void SetColor(TColor v) { Store(Color, v); }
    // Takes every field of the other font; one notification when any differed.
    void Assign(const TFont& other)
    {
        if (Name == other.Name && Size == other.Size && Style == other.Style && Color == other.Color) return;
        Name = other.Name, Size = other.Size, Style = other.Style, Color = other.Color;
        OnChange();
    }

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value) return;
        field = value;
        OnChange();
    }
};

enum TGPImageFormat { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };

TGPRectF MakeRectF(REAL x, REAL y, REAL width, REAL height);
// Pixel arithmetic is done wide and brought back into the int range here, so that sizes and
// offsets at the ends of their range (a hand-made settings file, a pasted fill) cannot overflow.
// Rounds halves to even, as the run-time library does.
int SaturatedRound(double v);
TGPPointF MakePointF(REAL x, REAL y);
ARGB MakeColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b);
ARGB MakeColorFromTColor(std::uint8_t a, TColor color);
inline std::uint8_t ARGBRed(ARGB c) { return std::uint8_t(c >> 16); }
inline std::uint8_t ARGBGreen(ARGB c) { return std::uint8_t(c >> 8); }
inline std::uint8_t ARGBBlue(ARGB c) { return std::uint8_t(c); }
// System colours (0xFF0000nn) to the desktop's RGB; other colours unchanged.
TColor ColorToRGB(TColor color);
// A colour as opaque ARGB.
ARGB ColorToARGB(TColor color);

// The drawing library's life in this process: started by the first initialisation, stopped when
// the count comes back. The program's own initialisation calls the pair once around main().
void SmoothGDIPInitialization();
void SmoothGDIPFinalization();
bool SmoothGDIPStarted();

// The root of all wrappers: instances come from the drawing library's allocator, which is retried
// once after a fresh start-up.
class TGdiplusBase {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

protected:
    TGdiplusBase() = default;
    ~TGdiplusBase() = default;
};

// Keeps a failing status and passes every status on.
#define SMOOTH_STATUS_RULE                                      \
protected:                                                      \
    Status lastResult = gdip::Ok;                               \
    Status SetStatus(Status s)                                  \
    {                                                           \
        if (s != gdip::Ok) lastResult = s;                      \
        return s;                                               \
    }                                                           \
    /* One value read through the library, its status kept */  \
    template <typename T, typename Fn, typename Handle>         \
    T Query(Fn fn, Handle handle)                               \
    {                                                           \
        T value{};                                              \
        SetStatus(fn(handle, &value));                          \
        return value;                                           \
    }                                                           \
                                                                \
public:                                                         \
    Status GetLastStatus()                                      \
    {                                                           \
        const Status s = lastResult;                            \
        lastResult = gdip::Ok;                                  \
        return s;                                               \
    }

class TGPImage;
class TGPBitmap;
class TGPBrush;
class TGPPen;
class TGPGraphicsPath;
class TGPRegion;
class TGPFont;
class TGPFontFamily;
class TGPFontCollection;
class TGPStringFormat;
class TGPMatrix;
class TGPImageAttributes;

class TGPFontCollection : public TGdiplusBase {
public:
    gdip::GpFontCollection* nativeFontCollection = nullptr;
    SMOOTH_STATUS_RULE
};

class TGPFontFamily : public TGdiplusBase {
public:
    explicit TGPFontFamily(const QString& name, TGPFontCollection* collection = nullptr);
    ~TGPFontFamily();
    TGPFontFamily(const TGPFontFamily&) = delete;
    TGPFontFamily& operator=(const TGPFontFamily&) = delete;
    gdip::GpFontFamily* nativeFamily = nullptr;
    SMOOTH_STATUS_RULE
protected:
    TGPFontFamily(gdip::GpFontFamily* native, Status status) : nativeFamily(native) { lastResult = status; }
};

class TGPFont : public TGdiplusBase {
public:
    TGPFont(const TGPFontFamily* family, REAL emSize, INT style, gdip::Unit unit);
    ~TGPFont();
    TGPFont(const TGPFont&) = delete;
    TGPFont& operator=(const TGPFont&) = delete;
    gdip::GpFont* nativeFont = nullptr;
    SMOOTH_STATUS_RULE
protected:
    TGPFont(gdip::GpFont* native, Status status) : nativeFont(native) { lastResult = status; }
};

class TGPStringFormat : public TGdiplusBase {
public:
    explicit TGPStringFormat(INT flags = 0, INT language = 0);
    explicit TGPStringFormat(const TGPStringFormat* format);
    ~TGPStringFormat();
    TGPStringFormat(const TGPStringFormat&) = delete;
    TGPStringFormat& operator=(const TGPStringFormat&) = delete;
    Status SetAlignment(gdip::StringAlignment a) { return Set([&](auto* f) { f->alignment = a; }); }
    gdip::StringAlignment GetAlignment() const { return nativeFormat ? nativeFormat->alignment : gdip::StringAlignmentNear; }
    Status SetLineAlignment(gdip::StringAlignment a) { return Set([&](auto* f) { f->lineAlignment = a; }); }
    gdip::StringAlignment GetLineAlignment() const { return nativeFormat ? nativeFormat->lineAlignment : gdip::StringAlignmentNear; }
    Status SetTrimming(INT t) { return Set([&](auto* f) { f->trimming = t; }); }
    INT GetTrimming() const { return nativeFormat ? nativeFormat->trimming : 0; }
    Status SetHotkeyPrefix(gdip::HotkeyPrefix h) { return Set([&](auto* f) { f->hotkeyPrefix = h; }); }
    gdip::HotkeyPrefix GetHotkeyPrefix() const { return nativeFormat ? nativeFormat->hotkeyPrefix : gdip::HotkeyPrefixNone; }
    gdip::GpStringFormat* nativeFormat = nullptr;

private:
    template <class F>
    Status Set(F f)
    {
        if (!nativeFormat) return SetStatus(gdip::InvalidParameter);
        f(nativeFormat);
        return gdip::Ok;
    }

protected:
    Status lastError = gdip::Ok;
    Status SetStatus(Status s)
    {
        if (s != gdip::Ok) lastError = s;
        return s;
    }

public:
    Status GetLastStatus()
    {
        const Status s = lastError;
        lastError = gdip::Ok;
        return s;
    }
};

#include "Smooth/SmoothGDIPObjects.h"
