#pragma once

namespace tolva {

// Window geometry is given in twips (1/1440 inch); this is the one conversion
// to pixels, at the screen's logical DPI (96 when no screen is known).
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

}  // namespace tolva
