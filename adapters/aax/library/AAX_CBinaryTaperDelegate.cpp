#include "AAX_CBinaryTaperDelegate.h"

template class AAX_CBinaryTaperDelegate<bool>;
