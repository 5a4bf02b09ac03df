#pragma once
// Import/export switch for the registry manager. Its objects are built once and linked into
// both Skeldareg (for the text library) and Skelda, and each exports the class.
#ifdef SKELDAREG_BUILD
#define SKELDAREG_API __declspec(dllexport)
#else
#define SKELDAREG_API __declspec(dllimport)
#endif
