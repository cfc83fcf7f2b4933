# Rt_Zephel.gau: a 32-bit DLL with no C runtime and no imports, exporting only
# ImportTable (ordinal 1) and Linkage (ordinal 2), with relocations,
# dynamic-base and no-execute flags and no time stamp, so that the same
# sources always give the same bytes.
enable_language(RC)

add_library(Rt_Zephel SHARED ${MODULE_SOURCES}
            ${CMAKE_SOURCE_DIR}/frame/Rt_Zephel.def
            ${CMAKE_SOURCE_DIR}/resources/Rt_Zephel.rc)
set_target_properties(Rt_Zephel PROPERTIES PREFIX "" SUFFIX ".gau" OUTPUT_NAME Rt_Zephel)
target_include_directories(Rt_Zephel PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/gauges
                           ${CMAKE_SOURCE_DIR}/resources)
# The simulators it serves ran on Pentiums: x87 only, no CMOV/FCOMI/SSE.
target_compile_options(Rt_Zephel PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:-march=i586 -mtune=i586 -Os -ffreestanding -fno-exceptions -fno-rtti
   -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector -fno-ident
   -fno-builtin -fomit-frame-pointer -Wall -Wextra -Wno-missing-field-initializers>)
target_link_options(Rt_Zephel PRIVATE
  -nostdlib -nostartfiles -s
  -Wl,--entry,_DllMain@12
  -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-seh
  -Wl,--no-insert-timestamp -Wl,--enable-reloc-section
  -Wl,--build-id=none -Wl,--subsystem,windows -Wl,--image-base,0x10000000
  -Wl,-T,${CMAKE_SOURCE_DIR}/cmake/gau.ld)
set_target_properties(Rt_Zephel PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/gau.ld)
# Resources are re-read when a bitmap changes.
file(GLOB BITMAPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/Rt_Zephel.rc PROPERTIES OBJECT_DEPENDS "${BITMAPS}")
