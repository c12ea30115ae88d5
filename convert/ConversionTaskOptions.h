#pragma once

#include "tasks/ltvItemData.h"

#include <QString>

// The task's own transcoder options: " -ss " + the start text when the start was moved, and
// " -t " + the clip length in whole seconds (halves to the even neighbour) when the clip is
// shorter or longer than the file. Both tests compare the numbers exactly.
QString ConversionTaskOptions(const ltvItemData &record);
