// The product's 32 x 32 icon: a red record button on a strip of film.
#pragma once

#include "platform/ui/control.h"

namespace zov {

const ui::Icon& ProductIcon();

}  // namespace zov
