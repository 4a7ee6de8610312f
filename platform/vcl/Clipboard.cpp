#include "platform/vcl/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

UnicodeString TClipboard::AsText() const { return QGuiApplication::clipboard()->text(); }

void TClipboard::SetAsText(const UnicodeString& text) { QGuiApplication::clipboard()->setText(text); }

bool TClipboard::HasText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
