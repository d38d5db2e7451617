#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_Guard.h"
#include "AAX_UIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    releaseHostObjects();
}

void AAX_CEffectGUI::releaseHostObjects()
{
    if (effectParameters != nullptr)
    {
        auto* p = effectParameters;
        effectParameters = nullptr;
        p->Release();
    }
    controller.reset();
    viewContainer.reset();
    transport.reset();
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* host)
{
    return AAX_Guarded([&] {
        // A second Initialize lets go of the first connection's objects.
        releaseHostObjects();

        controller = std::make_unique<AAX_VController>(host);
        if (host == nullptr)
            return AAXStatus::guiWithoutHost;

        void* parameters = nullptr;
        if (host->QueryInterface(IID_IAAXEffectParametersV1, &parameters) == AAXStatus::success)
            effectParameters = static_cast<AAX_IACFEffectParameters*>(parameters);
        transport = std::make_unique<AAX_VTransport>(host);

        CreateViewContents();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    return AAX_Guarded([&] {
        releaseHostObjects();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectGUI::NotificationReceived(AAX_CTypeID, const void*, uint32_t)
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* container)
{
    return AAX_Guarded([&] {
        if (container != nullptr)
        {
            viewContainer.reset();
            viewContainer = std::make_unique<AAX_VViewContainer>(container);
            CreateViewContainer();
            UpdateAllParameters();
        }
        else
        {
            viewContainer.reset();
            DeleteViewContainer();
        }
        return AAXStatus::success;
    });
}

// The base has no view to measure; a derived GUI answers with its view's size.
AAX_Result AAX_CEffectGUI::GetViewSize(AAX_Point*) const
{
    return AAXStatus::notImplemented;
}

AAX_Result AAX_CEffectGUI::Draw(AAX_Rect*)
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectGUI::TimerWakeup()
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectGUI::ParameterUpdated(AAX_CParamID)
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectGUI::GetCustomLabel(AAX_EPlugInStrings, AAX_IString*) const
{
    return AAXStatus::missingObject;
}

AAX_Result AAX_CEffectGUI::SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)
{
    return AAXStatus::success;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (effectParameters == nullptr)
        return;

    int32_t count = 0;
    if (effectParameters->GetNumberOfParameters(&count) != AAXStatus::success)
        return;

    for (int32_t i = 0; i < count; ++i)
    {
        AAX_CString id;
        if (effectParameters->GetParameterIDFromIndex(i, &id) == AAXStatus::success)
            ParameterUpdated(id.Get());
    }
}

AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() const noexcept
{
    return viewContainer != nullptr ? static_cast<AAX_IViewContainer*>(viewContainer.get()) : &AAX_VViewContainer::Absent();
}

int32_t AAX_CEffectGUI::GetViewContainerType() const
{
    return viewContainer != nullptr ? viewContainer->GetType() : 0;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const
{
    return viewContainer != nullptr ? viewContainer->GetPtr() : nullptr;
}

AAX_IController* AAX_CEffectGUI::GetController() const noexcept
{
    return controller != nullptr ? static_cast<AAX_IController*>(controller.get()) : &AAX_VController::Absent();
}

AAX_ITransport* AAX_CEffectGUI::Transport() const noexcept
{
    return transport != nullptr ? static_cast<AAX_ITransport*>(transport.get()) : &AAX_VTransport::Absent();
}
