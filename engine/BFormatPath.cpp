#include "BFormatPath.h"

#include "Lanes4.h"

void InitialiseBFormatPathControl(BFormatPathControl* control)
{
    *control = BFormatPathControl{};
    control->a = 0.75f;
    control->c = 0.25f;
}

bool BFormatPathSettled(const BFormatPathControl* control)
{
    const float a = control->a, c = control->c;
    return SmootherSettled(SmoothCosine(control->azimuthCos, control->azimuth, a, c), control->azimuthCos) &&
           SmootherSettled(SmoothSine(control->azimuthSin, control->azimuth, a, c), control->azimuthSin) &&
           SmootherSettled(SmoothCosine(control->frontCos, control->frontElevation, a, c), control->frontCos) &&
           SmootherSettled(SmoothSine(control->frontSin, control->frontElevation, a, c), control->frontSin) &&
           SmootherSettled(SmoothCosine(control->rearCos, control->rearElevation, a, c), control->rearCos) &&
           SmootherSettled(SmoothSine(control->rearSin, control->rearElevation, a, c), control->rearSin) &&
           SmootherSettled(test_and_kill_denormal(a * control->dominanceSmoothed + c * control->dominanceTarget),
                           control->dominanceSmoothed);
}

void ProcessBFormatPathSettledRun(const float (*frames)[4], int count, const BFormatPathControl* control,
                                  BFormatRun* front, BFormatRun* rear)
{
    const bool endFire = control->endFire != 0, invert = control->invert != 0;
    const F4 azCos = Splat4(control->azimuthCos), azSin = Splat4(control->azimuthSin);
    const float d = control->dominanceSmoothed;
    const F4 zoomW = Splat4(kInvSqrt2 * d), zoomX = Splat4(kSqrt2 * d), side = Splat4(ZoomSideGain(d));
    const F4 frontCos = Splat4(control->frontCos), frontSin = Splat4(control->frontSin);
    const F4 rearCos = Splat4(control->rearCos), rearSin = Splat4(control->rearSin);
    for (int n = 0; n < count; n += 4)
    {
        // Four frames, transposed to one vector per component.
        F4 w = Load4(frames[n]), x = Load4(frames[n + 1]), y = Load4(frames[n + 2]), z = Load4(frames[n + 3]);
        Transpose4(w, x, y, z);
        if (endFire)
        {
            const F4 oldX = x;
            x = z;
            z = Negate4(oldX);
        }
        if (invert)
        {
            y = Negate4(y);
            z = Negate4(z);
        }
        const F4 rx = x * azCos - y * azSin;
        const F4 ry = x * azSin + y * azCos;
        const F4 zw = w + zoomW * rx;
        const F4 zx = rx + zoomX * w;
        const F4 zy = ry * side;
        const F4 zz = z * side;
        Store4(front->w + n, zw);
        Store4(front->y + n, zy);
        Store4(front->x + n, zx * frontCos - zz * frontSin);
        Store4(front->z + n, zz * frontCos + zx * frontSin);
        Store4(rear->w + n, zw);
        Store4(rear->y + n, zy);
        Store4(rear->x + n, zx * rearCos - zz * rearSin);
        Store4(rear->z + n, zz * rearCos + zx * rearSin);
    }
}
