#pragma once
// The fill's saved integer properties as one table, in the order of its INI section: each row
// reads a property, stores it directly (as the INI reader does) or through its setter (as the
// component stream does), and gives the values a stream may hold.
#include "Smooth/GDIPFill.h"

#include <climits>

struct FillFields {
    struct Field {
        const char* name;
        int (*get)(const TGDIPFill&);
        void (*store)(TGDIPFill&, int);
        void (*set)(TGDIPFill&, int);
        int low, high;
    };
    static const Field kFields[30];
    static TGDIPPicture* Picture(TGDIPFill& f) { return f.FPicture; }
    static TGDIPPicture* BackGroundPicture(TGDIPFill& f) { return f.FBackGroundPicture; }
    static void Changed(TGDIPFill& f) { f.Changed(); }
};
