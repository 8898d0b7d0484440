// Export/import marker of the Quorvane host core library.
#pragma once

#if defined(_WIN32)
#  if defined(QV_BUILDING_CORE)
#    define QVAPI __declspec(dllexport)
#  else
#    define QVAPI __declspec(dllimport)
#  endif
#else
#  define QVAPI __attribute__((visibility("default")))
#endif
