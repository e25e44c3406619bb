function [n, blocks] = count_callbacks(f)
  % Number of host call-backs ("rand", "randn", "sort") that f makes: the
  % counting wrappers in bench/counting shadow the built-ins while f runs.
  % blocks.rand and blocks.randn list the values of each "rand" and "randn"
  % call-back, in order.
  global bayesmex_callbacks bayesmex_rand_values bayesmex_randn_values
  bayesmex_callbacks = 0;
  bayesmex_rand_values = [];
  bayesmex_randn_values = [];
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
  blocks = struct('rand', bayesmex_rand_values, 'randn', bayesmex_randn_values);
end
