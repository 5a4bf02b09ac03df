#pragma once
// Import/export switch for the XML helper library Quarrix.
#ifdef QUARRIX_BUILD
#define QUARRIX_API __declspec(dllexport)
#else
#define QUARRIX_API __declspec(dllimport)
#endif
