// The host's diagnostic services (through AAX_VHostServices).
#pragma once

#include "AAX.h"

class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;

    virtual AAX_Result Assert(const char* file, int32_t line, const char* note) = 0;
    virtual AAX_Result Trace(int32_t priority, const char* message) = 0;
};
