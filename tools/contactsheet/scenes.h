// Mock-ups of the show's main moments, drawn from the pictures with the quads,
// depths and settled animation values the show uses, so the set can be judged in
// place: the evening logo, the day landscape with the invitation panel, and the
// outro with Fenno and the credits.
#pragma once

#include "compose.h"

#include <map>

extern const std::uint8_t eveningSky[3];
extern const std::uint8_t daySky[3];

// True when the set holds every picture the mock-ups use.
bool canDrawScenes(const std::map<std::string, SpriteImages>& set);
int sceneStripHeight(int sheetWidth);
void drawSceneStrip(RgbPicture& sheet, std::map<std::string, SpriteImages>& set, int top);
