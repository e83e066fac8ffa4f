add_library(vellara_wmfwriter STATIC wmfwriter.cpp wmfwriter.h)
target_include_directories(vellara_wmfwriter PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vellara_wmfwriter PUBLIC Qt6::Core Qt6::Gui vellara_lib)

# The sample deck's pictures; it reads deck files with the program's own reader.
add_library(vellara_cardart STATIC cardart.cpp cardart.h)
target_link_libraries(vellara_cardart PUBLIC vellara_wmfwriter vellara_lib)

add_executable(vellara-wmfgen wmfgen.cpp)
target_link_libraries(vellara-wmfgen PRIVATE vellara_cardart vellara_wmfwriter vellara_lib)
