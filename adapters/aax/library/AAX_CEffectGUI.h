// Base of the plug-in's GUI object: connects to the host's controller and
// transport, finds the effect's parameters object through the host, keeps the
// host's view container and drives the derived class's three view hooks.
//
// Host main thread. No operation lets an exception reach the host.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "AAX_IController.h"
#include "AAX_IEffectGUI.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"

#include <memory>

class AAX_VController;
class AAX_VTransport;
class AAX_VViewContainer;

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    // Host-visible interface.
    AAX_Result Initialize(IACFUnknown* host) override;
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result SetViewContainer(IACFUnknown* container) override;
    AAX_Result GetViewSize(AAX_Point* size) const override;
    AAX_Result Draw(AAX_Rect* area) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated(AAX_CParamID id) override;
    AAX_Result GetCustomLabel(AAX_EPlugInStrings selector, AAX_IString* label) const override;
    AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted, AAX_EHighlightColor colour) override;

    /** Makes the view's contents; called by Initialize. */
    virtual void CreateViewContents() = 0;
    /** Puts the view into the container just set. */
    virtual void CreateViewContainer() = 0;
    /** Takes the view out of the container being removed. */
    virtual void DeleteViewContainer() = 0;
    /** ParameterUpdated for every parameter of the effect, in index order. */
    virtual void UpdateAllParameters();

    AAX_IACFEffectParameters* GetEffectParameters() const noexcept { return effectParameters; }
    /** Never null: without a container, a proxy of none that drops every call
        (a size change is then simply not sent). */
    AAX_IViewContainer* GetViewContainer() const noexcept;
    /** 0 without a container. */
    int32_t GetViewContainerType() const;
    /** The host's native view, or null. */
    void* GetViewContainerPtr() const;
    AAX_IController* GetController() const noexcept;
    AAX_ITransport* Transport() const noexcept;

private:
    void releaseHostObjects();

    std::unique_ptr<AAX_VController> controller;
    AAX_IACFEffectParameters* effectParameters = nullptr;   // one reference held
    std::unique_ptr<AAX_VViewContainer> viewContainer;
    std::unique_ptr<AAX_VTransport> transport;
};
