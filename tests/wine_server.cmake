# ACTION=start makes the wine prefix named by WINEPREFIX, if it is new, and
# leaves one persistent wine server running for it; ACTION=stop ends that server.
if(ACTION STREQUAL "start")
  file(MAKE_DIRECTORY $ENV{WINEPREFIX})
  # The server, and the services that wineboot starts, stay in the background;
  # with their output on pipes, each step would wait for them to end. A failure
  # to start is ignored: a server that already serves the prefix does as well.
  execute_process(COMMAND wineserver -p OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  # The first run of a new prefix sets it up; later runs then start at once.
  execute_process(COMMAND setarch -R wine wineboot --init OUTPUT_FILE $ENV{WINEPREFIX}/wineboot.log
                  ERROR_FILE $ENV{WINEPREFIX}/wineboot.log COMMAND_ERROR_IS_FATAL ANY)
elseif(ACTION STREQUAL "stop")
  execute_process(COMMAND wineserver -k)
else()
  message(FATAL_ERROR "wine_server.cmake needs -DACTION=start or -DACTION=stop")
endif()
