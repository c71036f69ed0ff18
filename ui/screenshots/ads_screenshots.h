// The ads' part of ortelia-screenshots (see ads_screenshots.cpp).
#pragma once

#include "ads/TFormRpt.h"

#include <QString>

#include <string>

// The ad window on a picture ad, a large picture, a kind-2 and a kind-1 card; the preview and the
// first page of both reports, as PNG files in out. False when one could not be made.
bool shootAds(const std::string& data, const QString& out, const ResultListView& list, const QString& section);
