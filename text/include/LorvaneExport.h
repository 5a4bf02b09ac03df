#pragma once
// Import/export switch for the text library's public classes.
#ifdef LORVANE_BUILD
#define LORVANE_API __declspec(dllexport)
#else
#define LORVANE_API __declspec(dllimport)
#endif
