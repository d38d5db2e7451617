#include "AAX_VAutomationDelegate.h"

#include "AAX_UIDs.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* host)
    : v1(ACFPtr<AAX_IACFAutomationDelegate>::query(host, IID_IAAXAutomationDelegateV1))
{
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID id) { AAX_V1_CALL(RegisterParameter(id)); }
AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID id) { AAX_V1_CALL(UnregisterParameter(id)); }
AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID id, double normalized) const { AAX_V1_CALL(PostSetValueRequest(id, normalized)); }
AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID id, double normalized) const { AAX_V1_CALL(PostCurrentValue(id, normalized)); }
AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID id) { AAX_V1_CALL(PostTouchRequest(id)); }
AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID id) { AAX_V1_CALL(PostReleaseRequest(id)); }
AAX_Result AAX_VAutomationDelegate::GetTouchState(AAX_CParamID id, AAX_CBoolean* touched) { AAX_V1_CALL(GetTouchState(id, touched)); }
