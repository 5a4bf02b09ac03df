#pragma once
// Export macro of the dialog framework. The framework is one DLL per process so that its
// window map, subclassing and class registrations are shared by every module.
#if defined(FRAMEWORK_BUILD)
#define FRAMEWORK_API __declspec(dllexport)
#else
#define FRAMEWORK_API __declspec(dllimport)
#endif
