// Placeholders for the notice emitters until the notice catalogue lands:
// they accept every call and report nothing.
#include "notices/notices.h"

void CheckFunctionEnd(const FunctionEndInfo&, GlobalData&) {}
void CheckClassEnd(const ClassEndInfo&, GlobalData&) {}
void EmitNoComment(int, const char*, GlobalData&) {}
void EmitUsingNamespace(GlobalData&) {}
void EmitStructWithinFunction(GlobalData&) {}
void EmitClassWithinFunction(const char*, GlobalData&) {}
void EmitClassPointerDataNotice(GlobalData&) {}
void EmitClassPublicDataNotice(const char*, int, GlobalData&) {}
void EmitClassProtectedDataNotice(int, GlobalData&) {}
void EmitInheritanceDepthNotice(const char*, int, GlobalData&) {}
void EmitNumberOfChildrenNotice(const char*, int, GlobalData&) {}
void EmitMultipleInheritanceNotice(const char*, int, const char*, GlobalData&) {}
