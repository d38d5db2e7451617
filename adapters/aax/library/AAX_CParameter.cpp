#include "AAX_CParameter.h"

template class AAX_CParameter<float>;
template class AAX_CParameter<bool>;
