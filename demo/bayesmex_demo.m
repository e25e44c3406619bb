function bayesmex_demo(seed)
  % The modules at work on small problems with known answers.
  if nargin < 1, seed = 1; end
  rand('state', seed); randn('state', seed);
  printf('bayesmex demo, seed %d\n', seed);
  r = meanshape_draw(2, 5, 1e5, 1);
  printf('meanshape_draw(2, 5): mean %.4f (2), variance %.4f (1.6)\n', mean(r), var(r));
end
