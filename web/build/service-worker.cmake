# Writes sw.js from sw.js.in, run with cmake -P at build time, once programs.js
# exists. The cache's name is NAME (the project's), VERSION (the release's) and
# the start of a hash of every file that the cache holds, so that any change to
# them names a new cache; the worker deletes the caches whose names start with
# NAME but differ. Variables: TEMPLATE, OUTPUT, FOLDER (where the files are),
# NAME, VERSION, FILES (the files' names, separated by commas).
string(REPLACE "," ";" files "${FILES}")
set(hashes "")
set(cache_files "")
foreach(file IN LISTS files)
  file(SHA256 ${FOLDER}/${file} hash)
  string(APPEND hashes "${hash} ${file}\n")
  list(APPEND cache_files "'${file}'")
endforeach()
string(SHA256 hash "${hashes}")
string(SUBSTRING ${hash} 0 16 hash)
set(cache_prefix "${NAME}-")
set(cache_name "${NAME}-${VERSION}-${hash}")
list(JOIN cache_files ", " cache_files)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
