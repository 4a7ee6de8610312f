#pragma once
// The colour schemes a smooth component can be given in one call.
enum TSmoothStyle : int {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal
};

// What a component that follows a colour scheme implements.
class ISmoothStyle {
public:
    virtual void SetComponentStyle(TSmoothStyle style) = 0;

protected:
    ~ISmoothStyle() = default;
};
