#include "AAX_CNumberDisplayDelegate.h"

template class AAX_CNumberDisplayDelegate<float, 3u, 0u>;
