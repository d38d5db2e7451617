#include "AAX_CLinearTaperDelegate.h"

template class AAX_CLinearTaperDelegate<float, 0>;
