# Finds FLTK's core library and headers, the only part of FLTK the screen backend links.
# CMake's own FindFLTK also asks for OpenGL, the forms library and fluid, and it includes
# FLTK's installed CMake configuration, whose imported targets name /usr/bin/fluid: on a
# machine without those, configuring stops although nothing of ours uses them.
# Defines the imported target Fltk::core.
find_path(FltkCore_INCLUDE_DIR FL/Fl.H)
find_library(FltkCore_LIBRARY fltk)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FltkCore REQUIRED_VARS FltkCore_LIBRARY FltkCore_INCLUDE_DIR)
if(FltkCore_FOUND AND NOT TARGET Fltk::core)
  add_library(Fltk::core UNKNOWN IMPORTED)
  set_target_properties(Fltk::core PROPERTIES IMPORTED_LOCATION "${FltkCore_LIBRARY}"
                                              INTERFACE_SYSTEM_INCLUDE_DIRECTORIES
                                              "${FltkCore_INCLUDE_DIR}")
endif()
mark_as_advanced(FltkCore_INCLUDE_DIR FltkCore_LIBRARY)
