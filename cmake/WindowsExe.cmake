# Settings shared by every program of the Windows build: small, self-contained 32-bit exes.

macro(velnor_windows_build_settings)
  enable_language(RC)
  # Keep -I and -D for the resource compiler, but not the C++ warning flags.
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DRC_INVOKED")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>
                      $<$<COMPILE_LANGUAGE:CXX>:-ffunction-sections> $<$<COMPILE_LANGUAGE:CXX>:-fdata-sections>)
endmacro()

# A GUI-subsystem program of subsystem version 4.0, linked statically so that it imports only
# from Windows' own DLLs.
function(velnor_static_gui_exe target)
  target_link_options(${target} PRIVATE
    -static -static-libgcc -static-libstdc++
    -Wl,--gc-sections -s
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
endfunction()
