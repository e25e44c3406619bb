function test_help()
  % Every function has its help text, with usage and an example, and the
  % name resolves to the MEX file, not to the help-only .m file.
  names = {'meanshape_draw', 'invchisq_draw', 'studentt_draw', 'exponential_draw', ...
           'simplex_draw', 'meanshape_draw1', 'invchisq_draw1', 'hyperscale_draw1', ...
           'particles_multinomial', 'particles_residual', 'particles_stratified', ...
           'particles_deterministic', 'particles_systematic', 'weightboot_average', 'weightboot_quantile', ...
           'metric_pairwise', 'psi_eval', 'hyptan_fast'};
  for k = 1:numel(names)
    text = get_help_text(names{k});
    assert(numel(text) > 200, 'no help text for %s', names{k});
    assert(!isempty(strfind(lower(text), 'example')), 'no example in the help of %s', names{k});
    assert(exist(names{k}) == 3, '%s does not resolve to its MEX file', names{k});
  end
end
