#pragma once
// How one area of a smooth component is painted: a main gradient, an optional mirror gradient in
// the lower half, opacities, a hatch, two pictures, a border, a shadow, rounding and a focus mark.
// Its owner (a badge or a button) repaints when OnChange fires. A fill is saved three ways: an
// INI section, the component stream, and the clipboard (which carries the component stream).
#include "Smooth/SmoothGDIPPicture.h"

#include <stdexcept>

class TIniFile;

enum TFillRoundingType : int { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };
enum TFillPicturePosition : int {
    ppTopLeft,
    ppTopCenter,
    ppTopRight,
    ppBottomLeft,
    ppBottomCenter,
    ppBottomRight,
    ppTiled,
    ppStretched,
    ppCenterLeft,
    ppCenterCenter,
    ppCenterRight,
    ppCustom
};
enum TFillPictureSize : int { psOriginal, psCustom };
enum TFillPictureMode : int { pmInsideFill, pmOutsideFill };
// The 53 hatch patterns of the drawing library, by number.
enum HatchStyle : int { HatchStyleHorizontal = 0, HatchStyleSolidDiamond = 52, HatchStyleTotal = 53 };

// Raised by the colour conversions of the button renderer.
class EColorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A component stream that cannot be read.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

#define GDIP_FILL_PROPERTY(Type, Name)        \
public:                                       \
    Type Name() const { return F##Name; }     \
    void Set##Name(Type value)                \
    {                                         \
        if (F##Name == value) return;         \
        F##Name = value;                      \
        Changed();                            \
    }                                         \
                                              \
private:                                      \
    Type F##Name

class TGDIPFill : public QObject {
    using THatch = ::HatchStyle;

public:
    TGDIPFill();
    ~TGDIPFill() override;

    GDIP_FILL_PROPERTY(TColor, Color) = clSilver;
    GDIP_FILL_PROPERTY(TColor, ColorTo) = clGray;
    GDIP_FILL_PROPERTY(TColor, ColorMirror) = clNone;
    GDIP_FILL_PROPERTY(TColor, ColorMirrorTo) = clNone;
    GDIP_FILL_PROPERTY(TGradientType, GradientType) = gtVertical;
    GDIP_FILL_PROPERTY(TGradientType, GradientMirrorType) = gtSolid;
    GDIP_FILL_PROPERTY(THatch, HatchStyle) = HatchStyleHorizontal;
    GDIP_FILL_PROPERTY(THatch, HatchStyleMirror) = HatchStyleHorizontal;
    GDIP_FILL_PROPERTY(TFillPictureMode, BackGroundPictureMode) = pmOutsideFill;
    GDIP_FILL_PROPERTY(TFillPicturePosition, BackGroundPicturePosition) = ppTopLeft;
    GDIP_FILL_PROPERTY(int, BackGroundPictureLeft) = 0;
    GDIP_FILL_PROPERTY(int, BackGroundPictureTop) = 0;
    GDIP_FILL_PROPERTY(TFillPicturePosition, PicturePosition) = ppTopLeft;
    GDIP_FILL_PROPERTY(int, PictureLeft) = 0;
    GDIP_FILL_PROPERTY(int, PictureTop) = 0;
    GDIP_FILL_PROPERTY(TFillPictureSize, PictureSize) = psOriginal;
    GDIP_FILL_PROPERTY(int, PictureWidth) = 50;
    GDIP_FILL_PROPERTY(int, PictureHeight) = 50;
    GDIP_FILL_PROPERTY(std::uint8_t, Opacity) = 255;
    GDIP_FILL_PROPERTY(std::uint8_t, OpacityTo) = 255;
    GDIP_FILL_PROPERTY(std::uint8_t, OpacityMirror) = 255;
    GDIP_FILL_PROPERTY(std::uint8_t, OpacityMirrorTo) = 255;
    GDIP_FILL_PROPERTY(TColor, BorderColor) = clNone;
    GDIP_FILL_PROPERTY(std::uint8_t, BorderOpacity) = 255;
    GDIP_FILL_PROPERTY(int, BorderWidth) = 1;
    GDIP_FILL_PROPERTY(int, Rounding) = 0;
    GDIP_FILL_PROPERTY(TFillRoundingType, RoundingType) = rtBoth;
    GDIP_FILL_PROPERTY(TColor, ShadowColor) = clGray;
    GDIP_FILL_PROPERTY(int, ShadowOffset) = 0;
    GDIP_FILL_PROPERTY(int, Angle) = 0;

public:
    // The owned pictures; setting one copies the given picture in.
    TGDIPPicture* BackGroundPicture() const { return FBackGroundPicture; }
    void SetBackGroundPicture(const TGDIPPicture* value);
    TGDIPPicture* Picture() const { return FPicture; }
    void SetPicture(const TGDIPPicture* value);

    TNotifyEvent OnChange;
    // Not saved: the focus mark and where the last paint put it.
    bool Focus = false;
    TColor FocusColor = clBlack;
    TGPRectF FocusRect{};

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate()
    {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    // Copies every saved property from another fill, each through its setter.
    void Assign(const TGDIPFill* source);

    // The clipboard under the "GDI+ Fill" format. Loading gives false, and changes nothing, when
    // the clipboard holds no fill or a broken one.
    void SaveToClipBoard() const;
    bool LoadFromClipBoard();
    // An INI section. Saving gives false when the file could not be written. Loading raises
    // EConvertError "No Hex-Number" for a broken picture text.
    bool SaveToFile(const QString& fileName, const QString& section) const;
    void LoadFromFile(const QString& fileName, const QString& section);
    bool SaveToFile(TIniFile& ini, const QString& section) const;
    void LoadFromFile(TIniFile& ini, const QString& section);

    // Paints the fill into R; see GDIPFillPaint.cpp. An override below 255 replaces the fill's own
    // opacity for this call. bodyRect receives the body after the shadow took its room.
    void Fill(TGPGraphics* graphics, TGPRectF R, std::uint8_t borderOpacity = 255, std::uint8_t opacity = 255,
              std::uint8_t opacityTo = 255, std::uint8_t opacityMirror = 255, std::uint8_t opacityMirrorTo = 255,
              TGPRectF* bodyRect = nullptr);

private:
    void Changed();
    friend struct FillFields;

    TGDIPPicture* FBackGroundPicture;
    TGDIPPicture* FPicture;
    int FUpdateCount = 0;
};

// The MIME type of a fill on the clipboard.
extern const char* const kGDIPFillMimeType;

// The component stream of a fill: its saved properties that differ from a new fill's, the
// pictures as their image files' bytes.
QByteArray SaveFillToStream(const TGDIPFill* fill);
// Raises EReadError for a broken stream, before anything is changed.
void LoadFillFromStream(TGDIPFill* fill, const QByteArray& stream);

// Bytes to upper-case hexadecimal text and back. HexToStream ignores an odd last digit and raises
// EConvertError "No Hex-Number" for any other character.
QByteArray StreamToHex(const QByteArray& bytes);
QByteArray HexToStream(const QByteArray& hex);

// Rounded outlines: the corners that the rounding type names get arcs of radius r (d = 2r).
TGPGraphicsPath* CreateRoundedRectPath(const TGPRectF& rect, REAL r, TFillRoundingType type);
void AddRoundedRectPath(TFillRoundingType type, TGPGraphicsPath* path, REAL X, REAL Y, REAL Width, REAL Height, REAL d,
                        REAL r);
// A soft shadow of the colour filling the outline, fading in from its edge.
void FillSoftShadow(TGPGraphics* g, const TGPGraphicsPath* outline, TColor colour);

#include "Smooth/GDIPFillButton.h"
