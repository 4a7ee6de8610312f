#include "Smooth/GDIPFill.h"

#include "Smooth/GDIPFillFields.h"

#define FIELD(Name, low, high)                                                                                   \
    FillFields::Field                                                                                            \
    {                                                                                                            \
        #Name, [](const TGDIPFill& f) { return int(f.F##Name); },                                                \
            [](TGDIPFill& f, int v) { f.F##Name = decltype(f.F##Name)(v); },                                     \
            [](TGDIPFill& f, int v) { f.Set##Name(decltype(f.F##Name)(v)); }, low, high                          \
    }

const FillFields::Field FillFields::kFields[30] = {
    FIELD(Color, INT_MIN, INT_MAX),
    FIELD(ColorTo, INT_MIN, INT_MAX),
    FIELD(ColorMirror, INT_MIN, INT_MAX),
    FIELD(ColorMirrorTo, INT_MIN, INT_MAX),
    FIELD(GradientType, gtSolid, gtNone),
    FIELD(GradientMirrorType, gtSolid, gtNone),
    FIELD(HatchStyle, 0, HatchStyleSolidDiamond),
    FIELD(HatchStyleMirror, 0, HatchStyleSolidDiamond),
    FIELD(BackGroundPictureMode, pmInsideFill, pmOutsideFill),
    FIELD(BackGroundPicturePosition, ppTopLeft, ppCustom),
    FIELD(BackGroundPictureLeft, INT_MIN, INT_MAX),
    FIELD(BackGroundPictureTop, INT_MIN, INT_MAX),
    FIELD(PicturePosition, ppTopLeft, ppCustom),
    FIELD(PictureLeft, INT_MIN, INT_MAX),
    FIELD(PictureTop, INT_MIN, INT_MAX),
    FIELD(PictureSize, psOriginal, psCustom),
    FIELD(PictureWidth, INT_MIN, INT_MAX),
    FIELD(PictureHeight, INT_MIN, INT_MAX),
    FIELD(Opacity, 0, 255),
    FIELD(OpacityTo, 0, 255),
    FIELD(OpacityMirror, 0, 255),
    FIELD(OpacityMirrorTo, 0, 255),
    FIELD(BorderColor, INT_MIN, INT_MAX),
    FIELD(BorderOpacity, 0, 255),
    FIELD(BorderWidth, INT_MIN, INT_MAX),
    FIELD(Rounding, INT_MIN, INT_MAX),
    FIELD(RoundingType, rtNone, rtRight),
    FIELD(ShadowOffset, INT_MIN, INT_MAX),
    FIELD(ShadowColor, INT_MIN, INT_MAX),
    FIELD(Angle, INT_MIN, INT_MAX),
};

const char* const kGDIPFillMimeType = "application/x-qt-windows-mime;value=\"GDI+ Fill\"";

TGDIPFill::TGDIPFill() : FBackGroundPicture(new TGDIPPicture), FPicture(new TGDIPPicture)
{
    FBackGroundPicture->OnChange = [this](QObject*) { Changed(); };
    FPicture->OnChange = [this](QObject*) { Changed(); };
}

TGDIPFill::~TGDIPFill()
{
    delete FBackGroundPicture;
    delete FPicture;
}

void TGDIPFill::Changed()
{
    if (OnChange && FUpdateCount == 0) OnChange(this);
}

void TGDIPFill::SetBackGroundPicture(const TGDIPPicture* value)
{
    if (value == FBackGroundPicture) return;
    FBackGroundPicture->Assign(value);
    Changed();
}

void TGDIPFill::SetPicture(const TGDIPPicture* value)
{
    if (value == FPicture) return;
    FPicture->Assign(value);
    Changed();
}

void TGDIPFill::Assign(const TGDIPFill* s)
{
    if (!s) throw std::bad_cast();
    SetColor(s->Color());
    SetColorTo(s->ColorTo());
    SetColorMirror(s->ColorMirror());
    SetColorMirrorTo(s->ColorMirrorTo());
    SetGradientType(s->GradientType());
    SetGradientMirrorType(s->GradientMirrorType());
    SetHatchStyle(s->HatchStyle());
    SetHatchStyleMirror(s->HatchStyleMirror());
    FBackGroundPicture->Assign(s->BackGroundPicture());
    SetBackGroundPicturePosition(s->BackGroundPicturePosition());
    SetBackGroundPictureLeft(s->BackGroundPictureLeft());
    SetBackGroundPictureTop(s->BackGroundPictureTop());
    FPicture->Assign(s->Picture());
    SetPicturePosition(s->PicturePosition());
    SetPictureLeft(s->PictureLeft());
    SetPictureTop(s->PictureTop());
    SetPictureSize(s->PictureSize());
    SetPictureWidth(s->PictureWidth());
    SetPictureHeight(s->PictureHeight());
    SetOpacity(s->Opacity());
    SetOpacityTo(s->OpacityTo());
    SetOpacityMirror(s->OpacityMirror());
    SetOpacityMirrorTo(s->OpacityMirrorTo());
    SetBorderColor(s->BorderColor());
    SetBorderWidth(s->BorderWidth());
    SetRounding(s->Rounding());
    SetRoundingType(s->RoundingType());
    SetShadowColor(s->ShadowColor());
    SetShadowOffset(s->ShadowOffset());
    SetAngle(s->Angle());
    SetBorderOpacity(s->BorderOpacity());
    SetBackGroundPictureMode(s->BackGroundPictureMode());
}
