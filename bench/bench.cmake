find_package(benchmark REQUIRED)

# bench_pictures: drawing card pictures, first time and from the cache.
add_executable(bench_pictures ${CMAKE_CURRENT_LIST_DIR}/bench_pictures.cpp)
target_link_libraries(bench_pictures PRIVATE vellara_lib vellara_cardart benchmark::benchmark)
target_compile_definitions(bench_pictures PRIVATE VELLARA_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")
