# cmake -DFILE=<dump> -DSHA256=<expected> -P CheckFcbDump.cmake
# Removes a dump that differs from the checked one, so that no later build takes it as up to date.
file(SHA256 "${FILE}" actual)
if(NOT "${actual}" STREQUAL "${SHA256}")
    file(REMOVE "${FILE}")
    message(FATAL_ERROR "${FILE}: SHA-256 ${actual}, expected ${SHA256}. "
        "The generated pedal board dump changed; check it against the board's layout before updating the checksum.")
endif()
