#pragma once
// Fonts and system colours as the form names them.
#include "platform/vcl/RichEdit.h"

#include <QFont>

// System colours of the desktop the form was designed on, as 0x00BBGGRR.
enum : TColor {
    clBtnFace = 0xF0F0F0,
    clMenu = 0xF0F0F0,
    clWindow = 0xFFFFFF,
    clGradientInactiveCaption = 0xF2E4D7,
};

// The family when it is installed, else the closest installed one: a sans-serif for the dialog
// families (Tahoma, MS Sans Serif), a monospaced one for Courier New.
QString InstalledFamily(const QString& family);
// A font of that family whose characters are pixels high (the em height, as the form's fonts
// are given).
QFont FontOf(const QString& family, int pixels);

// Paints a widget's background in a colour.
void SetBackground(QWidget* control, TColor colour);
