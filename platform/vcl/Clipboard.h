#pragma once
// The desktop's clipboard as plain text.
#include "platform/vcl/Strings.h"

class TClipboard {
public:
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString& text);
    bool HasText() const;
};

// The one clipboard of the program.
TClipboard* Clipboard();
