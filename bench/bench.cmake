find_package(benchmark REQUIRED)

# bench_pictures: drawing card pictures, first time and from the cache.
add_executable(bench_pictures ${CMAKE_CURRENT_LIST_DIR}/bench_pictures.cpp)
target_link_libraries(bench_pictures PRIVATE vellara_lib vellara_cardart benchmark::benchmark)
target_compile_definitions(bench_pictures PRIVATE VELLARA_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")

# bench_reading: start-up to the first frame, dealing 100 cards, memory.
add_executable(bench_reading ${CMAKE_CURRENT_LIST_DIR}/bench_reading.cpp)
target_link_libraries(bench_reading PRIVATE vellara_lib vellara_cardart benchmark::benchmark)
target_compile_definitions(bench_reading PRIVATE VELLARA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# bench_decks: listing 2,000 pictures and offering them for a new deck.
add_executable(bench_decks ${CMAKE_CURRENT_LIST_DIR}/bench_decks.cpp)
target_link_libraries(bench_decks PRIVATE vellara_lib benchmark::benchmark)

# bench_carddefs: the definitions window's slider across 101 metafile cards, and Save Set.
add_executable(bench_carddefs ${CMAKE_CURRENT_LIST_DIR}/bench_carddefs.cpp)
target_link_libraries(bench_carddefs PRIVATE vellara_lib vellara_cardart benchmark::benchmark)
