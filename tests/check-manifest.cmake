# Fails when the manifest embedded in PROGRAM names an architecture other
# than the program's own machine type, or lacks the dependency on version 6
# of the common controls. Windows binds a process to the side-by-side
# assembly of the architecture its manifest names: a 64-bit program that
# asks for the x86 common controls does not start on 64-bit Windows.
# usage: cmake -DPROGRAM=... -DRC_COMPILER=...windres -P check-manifest.cmake

# The machine type from the PE header: the offset of the "PE\0\0" signature
# is the little-endian word at 0x3C, the machine field follows it.
function(read_le32 file offset out)
  file(READ ${file} bytes OFFSET ${offset} LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" be "${bytes}")
  math(EXPR value "0x${be}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()
read_le32(${PROGRAM} 60 pe_offset)
file(READ ${PROGRAM} signature OFFSET ${pe_offset} LIMIT 6 HEX)
if(signature STREQUAL "504500004c01")
  set(arch x86)
elseif(signature STREQUAL "504500006486")
  set(arch amd64)
else()
  message(FATAL_ERROR "${PROGRAM}: not a PE program for x86 or x86-64 (header ${signature})")
endif()

# The resource compiler turns the program's resources back into a script;
# the manifest is resource 1 of type 24, its lines quoted with "" for ".
execute_process(COMMAND ${RC_COMPILER} -i ${PROGRAM} -O rc
                OUTPUT_VARIABLE script RESULT_VARIABLE rc ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${RC_COMPILER} could not read the resources of ${PROGRAM}: ${errors}")
endif()
if(NOT script MATCHES "\n1 24 [^\n]*\nBEGIN\n(.*)")
  message(FATAL_ERROR "${PROGRAM} has no manifest (resource 1 of type 24)")
endif()
string(REGEX REPLACE "\nEND\n.*" "" manifest "${CMAKE_MATCH_1}")
string(REPLACE "\"\"" "'" manifest "${manifest}")

string(REGEX MATCHALL "processorArchitecture='[^']*'" named "${manifest}")
list(LENGTH named count)
if(count LESS 2)
  message(FATAL_ERROR "${PROGRAM}: the manifest names ${count} architectures, expected the program's and the common controls'")
endif()
foreach(entry ${named})
  if(NOT entry STREQUAL "processorArchitecture='${arch}'")
    message(FATAL_ERROR "${PROGRAM} is an ${arch} program, but its manifest says ${entry}")
  endif()
endforeach()

if(NOT manifest MATCHES "<dependentAssembly>[^<]*<assemblyIdentity[^>]*name='Microsoft.Windows.Common-Controls'[^>]*>")
  message(FATAL_ERROR "${PROGRAM}: the manifest asks for no common controls")
endif()
set(controls "${CMAKE_MATCH_0}")
foreach(attribute "version='6.0.0.0'" "publicKeyToken='6595b64144ccf1df'" "processorArchitecture='${arch}'")
  if(NOT controls MATCHES "${attribute}")
    message(FATAL_ERROR "${PROGRAM}: the common-controls dependency lacks ${attribute}: ${controls}")
  endif()
endforeach()
message(STATUS "${PROGRAM}: ${arch} program, manifest for ${arch}, common controls 6")
