#pragma once
// Import/export switch for the skin framework's public classes.
#ifdef SKELDA_BUILD
#define SKELDA_API __declspec(dllexport)
#else
#define SKELDA_API __declspec(dllimport)
#endif
