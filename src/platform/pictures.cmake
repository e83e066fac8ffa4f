target_sources(vellara_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/metafilecheck.cpp ${CMAKE_CURRENT_LIST_DIR}/metafilecheck.h
  ${CMAKE_CURRENT_LIST_DIR}/picture.cpp ${CMAKE_CURRENT_LIST_DIR}/picture.h
  ${CMAKE_CURRENT_LIST_DIR}/pictureelement.cpp ${CMAKE_CURRENT_LIST_DIR}/pictureelement.h
)
target_link_libraries(vellara_lib PUBLIC PkgConfig::LIBWMF)
