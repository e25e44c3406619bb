function n = count_callbacks(f)
  % Number of host call-backs ("rand", "randn", "sort") that f makes: the
  % counting wrappers in bench/counting shadow the built-ins while f runs.
  global bayesmex_callbacks
  bayesmex_callbacks = 0;
  here = fileparts(mfilename('fullpath'));
  w = warning('off', 'all');
  addpath(fullfile(here, 'counting'));
  unwind_protect
    f();
  unwind_protect_cleanup
    rmpath(fullfile(here, 'counting'));
    warning(w);
  end_unwind_protect
  n = bayesmex_callbacks;
end
