function [calls, names] = drawing_calls(which)
  % A call of every module that draws from the host's generators (its
  % sources include the random library), and the module's name, checked
  % against the manifest, so a new drawing module cannot slip past the
  % tests that use the lists: small calls (first fetches, call-backs), or
  % with 'paths' the calls test_random_paths compares on every path, large
  % enough to reach the door's own kernels (192 values and more).
  w = [0.5 2 0 1 3.5 1e-3];
  if nargin > 0 && strcmp(which, 'paths')
    calls = {
      @() meanshape_draw(2, 5, 300, 2)
      @() meanshape_draw([1 2; 3 4], [0.5 7; 0.5 7])
      @() meanshape_draw1(2, 5)
      @() invchisq_draw(1.5, 5, 700, 1)
      @() invchisq_draw1(1.5, 5)
      @() studentt_draw(5, 250, 1)
      @() studentt_draw([1 2 5 1], 1, 4)
      @() exponential_draw(2, 1000, 1)
      @() exponential_draw([1 2 3])
      @() simplex_draw(3, 100)
      @() hyperscale_draw1(2, 10, 0, 1, 1)
      @() particles_multinomial(w, 500, 1)
      @() particles_residual(w, 300, 1)
      @() particles_stratified(w, 3, 1)
      @() particles_systematic(w, 400, 1)
      @() weightboot_average([1 2; 3 4; 5 7], 300)
      @() weightboot_quantile((1:5)', [50 90], 100)
    };
  else
    calls = {
      @() meanshape_draw(2, 5, 3, 2)
      @() meanshape_draw1(2, 5)
      @() invchisq_draw(1.5, 5, 7, 1)
      @() invchisq_draw1(1.5, 5)
      @() studentt_draw([1 2 5 1], 1, 4)
      @() studentt_draw([1 Inf], 1, 2)  % normal values only: its last fetch is randn's
      @() exponential_draw(2, 3, 2)
      @() simplex_draw(3, 2)
      @() hyperscale_draw1(2, 10, 0, 1, 1)
      @() particles_multinomial(w, 5, 1)
      @() particles_residual(w, 3, 1)
      @() particles_stratified(w, 3, 1)
      @() particles_systematic(w, 4, 1)
      @() weightboot_average([1 2; 3 4; 5 7], 3)
      @() weightboot_quantile((1:5)', [50 0 90 0], 2)  % a sparse sort keeps two of four
    };
  end
  m = bayesmex_manifest().modules;
  draws = {m(cellfun(@(src) any(strcmp(src, 'random/stream.cpp')), {m.sources})).name};
  names = cellfun(@(f) regexp(func2str(f), '^@\(\) (\w+)', 'tokens', 'once'){1}, calls, ...
                  'UniformOutput', false);
  assert(isempty(setxor(draws, names)), 'drawing_calls: calls and drawing modules differ: %s', ...
         strjoin(setxor(draws, names), ', '));
end
