// What the printed result list takes from the window's list: the columns as shown (a hidden column
// 0 wide) and the texts of the rows on screen. Main thread.
#pragma once

#include "ads/TFormRpt.h"

class ResultList;

[[nodiscard]] ResultListView reportView(const ResultList& list);
