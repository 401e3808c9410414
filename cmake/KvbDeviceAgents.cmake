# The device agents: one Windows CE executable per processor family, built from
# src/devices/agent/agent.c with Debian's cross compilers for the instruction sets (no
# compiler here targets Windows CE itself): compiled freestanding, linked at the CE
# loader's address into a flat image, wrapped into a PE file by kvbcepe (tools/cepe),
# checked structurally, and listed disassembled in the build log. The images end up as
# byte arrays in the generated device_agents_data.cpp.
#
# kvb_device_agents(OUT_SOURCE) sets OUT_SOURCE to that generated file.

set(KVB_AGENT_DIR ${PROJECT_SOURCE_DIR}/src/devices/agent)
set(KVB_AGENT_FLAGS -std=c11 -Os -ffreestanding -nostdlib -fno-builtin -ffunction-sections
    -fno-asynchronous-unwind-tables -fno-tree-loop-distribute-patterns -fno-stack-protector
    -fno-pic -Wall -Wextra -Werror)

# kvbcepe runs on the build machine. The cross build cannot build it as a target (its
# compiler makes Windows programs), and the fuzz build instruments every target, so both
# compile the same sources with the host's C++ compiler.
function(kvb_cepe_tool out_command out_depends)
  set(sources ${PROJECT_SOURCE_DIR}/tools/cepe/main.cpp ${PROJECT_SOURCE_DIR}/tools/cepe/ce_image.cpp
              ${PROJECT_SOURCE_DIR}/tools/cepe/ce_image_read.cpp)
  if(CMAKE_CROSSCOMPILING OR KVB_FUZZ)
    find_program(KVB_HOST_CXX NAMES c++ g++ REQUIRED)
    set(tool ${CMAKE_BINARY_DIR}/tools/cepe/kvbcepe)
    add_custom_command(OUTPUT ${tool}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools/cepe
      COMMAND ${KVB_HOST_CXX} -std=c++20 -O1 -o ${tool} ${sources}
      DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/tools/cepe/ce_image.h
      COMMENT "Building kvbcepe for the build machine")
    set(${out_command} ${tool} PARENT_SCOPE)
    set(${out_depends} ${tool} PARENT_SCOPE)
  else()
    set(${out_command} $<TARGET_FILE:kvbcepe> PARENT_SCOPE)
    set(${out_depends} kvbcepe PARENT_SCOPE)
  endif()
endfunction()

function(kvb_device_agents out_source)
  kvb_cepe_tool(cepe cepe_depends)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/agents)
  set(inputs ${KVB_AGENT_DIR}/agent.c ${KVB_AGENT_DIR}/agent_imports.h ${KVB_AGENT_DIR}/agent.ld)
  set(images)
  foreach(family arm mips sh3 sh4)
    if(family STREQUAL "arm")
      set(prefix arm-linux-gnueabi)
      set(compile -marm -march=armv4 -mfloat-abi=soft -c)
    elseif(family STREQUAL "mips")
      set(prefix mipsel-linux-gnu)
      set(compile -march=mips2 -mabi=32 -mno-abicalls -G0 -msoft-float -c)
    else()
      # Debian's SH compiler makes SH-4 code only; its integer subset is SH-3 code, which
      # the assembler confirms with -isa=sh3 (it rejects every SH-4-only instruction).
      set(prefix sh4-linux-gnu)
      set(compile -m4-nofpu -ml -mrenesas -S)
    endif()
    find_program(KVB_${family}_GCC ${prefix}-gcc REQUIRED)
    set(gcc ${KVB_${family}_GCC})
    set(object ${dir}/${family}.o)
    if(family STREQUAL "arm" OR family STREQUAL "mips")
      set(compile_steps COMMAND ${gcc} ${KVB_AGENT_FLAGS} ${compile} ${KVB_AGENT_DIR}/agent.c -o ${object})
    else()
      set(isa ${family})
      set(compile_steps
        COMMAND ${gcc} ${KVB_AGENT_FLAGS} ${compile} ${KVB_AGENT_DIR}/agent.c -o ${dir}/${family}.s
        COMMAND ${prefix}-as -little -isa=${isa} ${dir}/${family}.s -o ${object})
    endif()
    set(image ${dir}/agent_${family}.exe)
    add_custom_command(OUTPUT ${image}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      ${compile_steps}
      COMMAND ${prefix}-ld -T ${KVB_AGENT_DIR}/agent.ld -o ${dir}/${family}.elf ${object}
      COMMAND ${prefix}-objcopy -O binary -j .text ${dir}/${family}.elf ${dir}/${family}.bin
      COMMAND ${cepe} wrap ${family} ${dir}/${family}.bin ${KVB_AGENT_DIR}/agent_imports.h ${image}
      COMMAND ${cepe} check ${family} ${image} ${KVB_AGENT_DIR}/agent_imports.h
      COMMAND ${prefix}-objdump -d ${dir}/${family}.elf
      DEPENDS ${inputs} ${cepe_depends}
      COMMENT "Building the ${family} device agent"
      VERBATIM)
    list(APPEND images ${image})
    list(APPEND embed_args ${family}=${image})
  endforeach()
  set(source ${dir}/device_agents_data.cpp)
  add_custom_command(OUTPUT ${source}
    COMMAND ${cepe} embed ${source} ${embed_args}
    DEPENDS ${images} ${cepe_depends}
    COMMENT "Embedding the device agents"
    VERBATIM)
  set(${out_source} ${source} PARENT_SCOPE)
endfunction()
