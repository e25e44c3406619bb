# Octave: the oct-files and m-files of build/octave in a plain octave-cli
# session, with the manifest reader (matlab/) for the tests that list them.
# A failing test's error, with where it was raised, ends the session.
# In the sanitizer build (BAYESMEX_OCTAVE_SANITIZE) they run in an Octave
# with the ASan runtime preloaded: Octave's own SIGSEGV handler stays
# (allow_user_segv_handler), leaks are not looked for (the interpreter keeps
# much of what it allocates until it exits), an allocation too large for
# the runtime fails as it does without it (allocator_may_return_null: the
# memory test asks for such sizes), and the first report of either
# sanitizer ends the process, so the test fails.  octave_asan.supp names
# the faults of other libraries that are let pass.
set(octave_env "")
if(BAYESMEX_OCTAVE_SANITIZE)
  set(octave_env
    "LD_PRELOAD=${BAYESMEX_ASAN_RUNTIME}"
    "ASAN_OPTIONS=detect_leaks=0:allow_user_segv_handler=1:abort_on_error=1:halt_on_error=1:allocator_may_return_null=1:suppressions=${CMAKE_CURRENT_SOURCE_DIR}/octave_asan.supp"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()
if(BAYESMEX_OCTAVE)
  if(NOT OCTAVE_CLI)
    message(FATAL_ERROR "BAYESMEX_TESTS=ON needs octave-cli for the Octave tests")
  endif()
  file(GLOB octave_tests CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/octave
       ${CMAKE_CURRENT_SOURCE_DIR}/octave/test_*.m)
  foreach(t ${octave_tests})
    get_filename_component(base ${t} NAME_WE)
    add_test(NAME octave_${base}
      COMMAND ${OCTAVE_CLI} --no-gui --norc --no-history --quiet --eval
        "addpath('${BAYESMEX_OCTAVE_DIR}'); addpath('${CMAKE_CURRENT_SOURCE_DIR}/octave'); addpath('${CMAKE_SOURCE_DIR}/matlab'); ${base}(); disp('OCTAVE TEST PASSED');")
    set_tests_properties(octave_${base} PROPERTIES PASS_REGULAR_EXPRESSION "OCTAVE TEST PASSED"
                         ENVIRONMENT "${octave_env}")
  endforeach()
  # Each function's own %!test and %!error blocks through Octave's test, then
  # its %!demo blocks through demo, as a user runs them after pkg load.
  # test prints a failing block and its error; the demo's output is shown.
  foreach(m ${BAYESMEX_MODULES})
    add_test(NAME octave_blocks_${m}
      COMMAND ${OCTAVE_CLI} --no-gui --norc --no-history --quiet --eval
        "addpath('${BAYESMEX_OCTAVE_DIR}'); [n, nmax, nxfail, nbug, nskip] = test('${m}', 'quiet', stdout); printf('%d of %d blocks passed, %d skipped\\n', n, nmax, nskip); out = evalc('demo ${m}'); disp(out); ok = nmax > 0 && n == nmax && nskip == 0 && !isempty(strfind(out, '${m} example 1:')) && isempty(strfind(out, ': failed')); if ok, disp('OCTAVE BLOCKS PASSED'); else, exit(1); end")
    set_tests_properties(octave_blocks_${m} PROPERTIES PASS_REGULAR_EXPRESSION "OCTAVE BLOCKS PASSED"
                         ENVIRONMENT "${octave_env}")
  endforeach()
endif()
