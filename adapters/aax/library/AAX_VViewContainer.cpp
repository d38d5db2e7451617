#include "AAX_VViewContainer.h"

#include "AAX_UIDs.h"

AAX_VViewContainer& AAX_VViewContainer::Absent()
{
    static AAX_VViewContainer none(nullptr);
    return none;
}

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* container)
    : v1(ACFPtr<AAX_IACFViewContainer>::query(container, IID_IAAXViewContainerV1))
{
}

int32_t AAX_VViewContainer::GetType() { return v1 ? v1->GetType() : 0; }
void* AAX_VViewContainer::GetPtr() { return v1 ? v1->GetPtr() : nullptr; }
AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* modifiers) { return v1 ? v1->GetModifiers(modifiers) : AAXStatus::notImplemented; }
AAX_Result AAX_VViewContainer::SetViewSize(AAX_Point& size) { return v1 ? v1->SetViewSize(size) : AAXStatus::success; }
AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) { return v1 ? v1->HandleParameterMouseDown(id, modifiers) : AAXStatus::notImplemented; }
AAX_Result AAX_VViewContainer::HandleParameterMouseDrag(AAX_CParamID id, uint32_t modifiers) { return v1 ? v1->HandleParameterMouseDrag(id, modifiers) : AAXStatus::notImplemented; }
AAX_Result AAX_VViewContainer::HandleParameterMouseUp(AAX_CParamID id, uint32_t modifiers) { return v1 ? v1->HandleParameterMouseUp(id, modifiers) : AAXStatus::notImplemented; }
