// Marks what the Biped module shows to its host: the five exports, the start routine and the
// three class objects with their classes.
#pragma once

#if defined(_WIN32)
#  define BIPEXPORT __declspec(dllexport)
#else
#  define BIPEXPORT __attribute__((visibility("default")))
#endif
