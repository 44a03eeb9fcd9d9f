# The programs of the web build (emcmake cmake -S . -B build-web; make web),
# included by the root CMakeLists.txt in place of the desktop ones:
#   site/                   the page: index.html, page.js, ranvel.js, ranvel.wasm,
#                           the app's manifest and icons, the worker that keeps
#                           them for offline play (sw.js): a static folder any
#                           web server can serve as it is
#   ranvel-sin-servidor.html  the page as one file that plays opened from a disk
#   ranvel-web-VERSION.zip  both, for a static host (make web-dist)
#   ranvel-floor-tests.js   the floor's kernels against the reference floor, as
#                           WebAssembly under node (tests/web/run_web_tests.sh floor)
#   bench/                  a whole game frame timed in the browser (make bench-web)
set(RANVEL_SITE ${CMAKE_BINARY_DIR}/site)

# The game. Sleeps hand the thread back to the browser (Asyncify), so the
# game's waiting loops stay as they are.
set(RANVEL_GAME_LINK_OPTIONS
  -sASYNCIFY -sASYNCIFY_IMPORTS=["web_sleep"] -sASYNCIFY_STACK_SIZE=32768
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web)
ranvel_program(ranvel ranvel_platform_web src/app/web_main.cpp)
target_link_options(ranvel PRIVATE ${RANVEL_GAME_LINK_OPTIONS})
set_target_properties(ranvel PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${RANVEL_SITE})

# The page around it.
set(RANVEL_SITE_FILES "")
foreach(file index.html page.js)
  add_custom_command(OUTPUT ${RANVEL_SITE}/${file}
                     COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/${file} ${RANVEL_SITE}/${file}
                     DEPENDS ${CMAKE_SOURCE_DIR}/web/${file})
  list(APPEND RANVEL_SITE_FILES ${RANVEL_SITE}/${file})
endforeach()
# The page's texts in the other languages, made from po/ with the game's
# catalogues.
add_custom_command(OUTPUT ${RANVEL_SITE}/page_texts.js
                   COMMAND ${CMAKE_COMMAND} -E copy ${RANVEL_PAGE_TEXTS} ${RANVEL_SITE}/page_texts.js
                   DEPENDS ${RANVEL_PAGE_TEXTS})
list(APPEND RANVEL_SITE_FILES ${RANVEL_SITE}/page_texts.js)
set_source_files_properties(${RANVEL_PAGE_TEXTS} PROPERTIES GENERATED TRUE)
# The app's manifest and its icons (make icons draws them).
file(GLOB RANVEL_WEB_ICONS RELATIVE ${CMAKE_SOURCE_DIR}/web CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/icons/*.png)
foreach(file manifest.webmanifest ${RANVEL_WEB_ICONS})
  add_custom_command(OUTPUT ${RANVEL_SITE}/${file}
                     COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/${file} ${RANVEL_SITE}/${file}
                     DEPENDS ${CMAKE_SOURCE_DIR}/web/${file})
  list(APPEND RANVEL_SITE_FILES ${RANVEL_SITE}/${file})
endforeach()
add_custom_target(ranvel_page ALL DEPENDS ${RANVEL_SITE_FILES})
add_dependencies(ranvel_page ranvel_assets)

# The worker that keeps the site for offline play, made last from the folder
# as built: every file there is kept, named by a digest of them all (a file
# of the site goes into RANVEL_SITE_FILES above, so that it is there first).
add_custom_command(OUTPUT ${RANVEL_SITE}/sw.js
                   COMMAND node ${CMAKE_SOURCE_DIR}/web/make_worker.mjs ${RANVEL_SITE} ${PROJECT_VERSION}
                   DEPENDS ranvel ${RANVEL_SITE_FILES} ${CMAKE_SOURCE_DIR}/web/sw.js
                           ${CMAKE_SOURCE_DIR}/web/make_worker.mjs)
add_custom_target(ranvel_worker ALL DEPENDS ${RANVEL_SITE}/sw.js)

# The page that plays opened from a file, with no server: the game with its
# WebAssembly inside (-sSINGLE_FILE), written into one page with the page's
# scripts.
ranvel_program(ranvel-single ranvel_platform_web src/app/web_main.cpp)
target_link_options(ranvel-single PRIVATE ${RANVEL_GAME_LINK_OPTIONS} -sSINGLE_FILE=1)
set_target_properties(ranvel-single PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/single)
set(RANVEL_SINGLE_PAGE ${CMAKE_BINARY_DIR}/ranvel-sin-servidor.html)
add_custom_command(OUTPUT ${RANVEL_SINGLE_PAGE}
                   COMMAND node ${CMAKE_SOURCE_DIR}/web/make_single_page.mjs ${RANVEL_SITE}
                           $<TARGET_FILE:ranvel-single> ${RANVEL_SINGLE_PAGE}
                   DEPENDS ranvel-single ${RANVEL_SITE_FILES} ${CMAKE_SOURCE_DIR}/web/make_single_page.mjs)
add_custom_target(ranvel_single_page ALL DEPENDS ${RANVEL_SINGLE_PAGE})

# make web-dist: the site and the single page in ranvel-web-VERSION.zip, the
# same bytes from the same files.
add_custom_target(ranvel_web_dist
                  COMMAND bash ${CMAKE_SOURCE_DIR}/web/dist.sh ${RANVEL_SITE} ${RANVEL_SINGLE_PAGE}
                          ${CMAKE_BINARY_DIR}/ranvel-web-${PROJECT_VERSION}.zip
                  VERBATIM)
add_dependencies(ranvel_web_dist ranvel_worker ranvel_single_page)

# The floor test of the desktop suite, built as WebAssembly with GoogleTest
# from its Debian sources, for the WebAssembly SIMD kernel.
set(RANVEL_GTEST_SOURCES /usr/src/googletest/googletest)
if(EXISTS ${RANVEL_GTEST_SOURCES}/src/gtest-all.cc)
  add_library(ranvel_web_gtest STATIC ${RANVEL_GTEST_SOURCES}/src/gtest-all.cc
                                      ${RANVEL_GTEST_SOURCES}/src/gtest_main.cc)
  target_include_directories(ranvel_web_gtest SYSTEM PUBLIC ${RANVEL_GTEST_SOURCES}/include
                                              PRIVATE ${RANVEL_GTEST_SOURCES})
  target_compile_definitions(ranvel_web_gtest PUBLIC GTEST_HAS_PTHREAD=0)
  ranvel_program(ranvel-floor-tests ranvel_platform_headless tests/scene/floor_fast_test.cpp)
  target_include_directories(ranvel-floor-tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(ranvel-floor-tests PRIVATE ranvel_web_gtest)
  target_link_options(ranvel-floor-tests PRIVATE -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
  set_target_properties(ranvel-floor-tests PROPERTIES SUFFIX ".js")
else()
  message(WARNING "GoogleTest sources not found (Debian package googletest): no WebAssembly floor test")
endif()

# Measurement: a whole game frame with each floor kernel, as a page of its
# own in bench/ (bench/web/web_bench.mjs loads it).
ranvel_program(ranvel-frame-time ranvel_platform_headless bench/web/frame_time.cpp)
target_link_options(ranvel-frame-time PRIVATE -sENVIRONMENT=web,node -sALLOW_MEMORY_GROWTH=1)
target_include_directories(ranvel-frame-time PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(ranvel-frame-time PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bench/frame_time.html
                   COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/bench/web/frame_time.html
                           ${CMAKE_BINARY_DIR}/bench/frame_time.html
                   DEPENDS ${CMAKE_SOURCE_DIR}/bench/web/frame_time.html)
add_custom_target(ranvel_frame_time_page ALL DEPENDS ${CMAKE_BINARY_DIR}/bench/frame_time.html)
