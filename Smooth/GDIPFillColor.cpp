// The colour helpers of the button face: a lighter or darker shade, and HSV conversions for the
// pressed colour.
#include "Smooth/GDIPFill.h"

#include <algorithm>
#include <limits>

TColor Lighter(TColor color, int n)
{
    const TColor rgb = ColorToRGB(color);
    const auto shade = [n](int channel) { return std::clamp(channel + n, 0, 255); };
    const int r = shade(rgb & 0xFF), g = shade((rgb >> 8) & 0xFF), b = shade((rgb >> 16) & 0xFF);
    return r | (g << 8) | (b << 16);
}

void RGBToHSV(double R, double G, double B, double& H, double& S, double& V)
{
    V = std::max({R, G, B});
    const double delta = V - std::min({R, G, B});
    S = V != 0 ? delta / V : 0;
    if (S == 0) {
        H = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    if (R == V) H = 60 * (G - B) / delta;
    else if (G == V) H = 120 + 60 * (B - R) / delta;
    else H = 240 + 60 * (R - G) / delta;
    if (H < 0) H += 360;
}

void HSVToRGB(double H, double S, double V, double& R, double& G, double& B)
{
    if (S == 0) {
        if (!std::isnan(H)) throw EColorError("HSVtoRGB: S = 0 and H has a value");
        R = G = B = V;
        return;
    }
    // A hue from anywhere but RGBToHSV may be out of range; bring it into 0..360.
    if (!std::isfinite(H)) H = 0;
    H = std::fmod(H, 360.0);
    if (H < 0) H += 360;
    const double h = H / 60;
    const int i = int(std::trunc(h));
    const double f = h - i;
    const double p = V * (1 - S), q = V * (1 - S * f), t = V * (1 - S * (1 - f));
    switch (i) {
    case 0: R = V, G = t, B = p; break;
    case 1: R = q, G = V, B = p; break;
    case 2: R = p, G = V, B = t; break;
    case 3: R = p, G = q, B = V; break;
    case 4: R = t, G = p, B = V; break;
    default: R = V, G = p, B = q; break;
    }
}
