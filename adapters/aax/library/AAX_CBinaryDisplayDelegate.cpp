#include "AAX_CBinaryDisplayDelegate.h"

template class AAX_CBinaryDisplayDelegate<bool>;
