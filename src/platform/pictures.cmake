target_sources(vellara_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/metafilecheck.cpp ${CMAKE_CURRENT_LIST_DIR}/metafilecheck.h
  ${CMAKE_CURRENT_LIST_DIR}/libwmf.cpp ${CMAKE_CURRENT_LIST_DIR}/libwmf.h
  ${CMAKE_CURRENT_LIST_DIR}/picture.cpp ${CMAKE_CURRENT_LIST_DIR}/picture.h
  ${CMAKE_CURRENT_LIST_DIR}/pictureelement.cpp ${CMAKE_CURRENT_LIST_DIR}/pictureelement.h
  ${CMAKE_CURRENT_LIST_DIR}/pictureahead.cpp ${CMAKE_CURRENT_LIST_DIR}/pictureahead.h
)

# libwmf is linked statically: its shared library hides gdImageDestroy, which
# frees the image its gd device draws into, and without it every drawing
# would leak. (Linking it statically into this open-source program keeps to
# its LGPL: anyone can rebuild it against another libwmf.)
find_library(VELLARA_LIBWMF_STATIC NAMES libwmf.a REQUIRED)
find_library(VELLARA_LIBWMFLITE_STATIC NAMES libwmflite.a REQUIRED)
set(vellara_libwmf_deps ${LIBWMF_STATIC_LIBRARIES})
list(REMOVE_ITEM vellara_libwmf_deps wmf wmflite)
target_include_directories(vellara_lib PRIVATE ${LIBWMF_INCLUDE_DIRS})
target_link_libraries(vellara_lib PUBLIC
  ${VELLARA_LIBWMF_STATIC} ${VELLARA_LIBWMFLITE_STATIC} ${vellara_libwmf_deps})
