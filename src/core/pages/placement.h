#pragma once
// Where the start-up, configuration and main-menu windows go (twips): a
// stored position, centred when it is the "never stored" default, clamped so
// the window stays reachable.

// Top: 0 when the screen is lower than the window; below -199 centred; above
// 7000 held at 7000; never so low that the window runs off the screen.
int placeTop(int stored, int screenHeight, int windowHeight);
// Left: 0 when the screen is narrower than the window; below -4999 centred;
// above 9000 held at 9000; never so far right that the window runs off the
// screen. With noNegative (configuration page) a left between -4999 and -1
// becomes 0.
int placeLeft(int stored, int screenWidth, int windowWidth, bool noNegative = false);

class Page;
struct SettingKey;
// Reads the stored top and left (defaults "-200" and "-5000") and places the
// page on its screen.
void placeFromSettings(Page& page, const SettingKey& topKey, const SettingKey& leftKey, bool noNegativeLeft = false);
// Stores the page's top and left as text.
void savePosition(const Page& page, const SettingKey& topKey, const SettingKey& leftKey);
