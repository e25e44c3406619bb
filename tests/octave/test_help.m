function test_help()
  % Every function has its help text: it starts with a usage line that is
  % also its one-sentence summary (MATLAB's H1 line, Octave's lookfor
  % sentence), has an example, and ends with a See also line whose names all
  % resolve; the name resolves to the MEX file, not to the help-only .m file;
  % lookfor finds each function by the words a user types.
  names = {'meanshape_draw', 'invchisq_draw', 'studentt_draw', 'exponential_draw', ...
           'simplex_draw', 'meanshape_draw1', 'invchisq_draw1', 'hyperscale_draw1', ...
           'particles_multinomial', 'particles_residual', 'particles_stratified', ...
           'particles_deterministic', 'weightboot_average', 'weightboot_quantile', ...
           'metric_pairwise', 'psi_eval', 'hyptan_fast'};
  for k = 1:numel(names)
    name = names{k};
    text = get_help_text(name);
    assert(numel(text) > 200, 'no help text for %s', name);
    assert(exist(name) == 3, '%s does not resolve to its MEX file', name);
    first = strtrim(get_first_help_sentence(name, 1024));
    assert(!isempty(regexp(first, ['^\w+ = ' name '\('], 'once')), ...
           'the help of %s does not start with its usage: "%s"', name, first);
    assert(isempty(strfind(first, "\n")), 'the first sentence of %s is not one line', name);
    assert(!isempty(strfind(lower(text), 'example')), 'no example in the help of %s', name);
    also = regexp(text, 'See also ([^.]*)\.\s*$', 'tokens', 'once');
    assert(!isempty(also), 'the help of %s does not end with a See also line', name);
    for s = strtrim(strsplit(also{1}, ','))
      assert(exist(s{1}) != 0, 'See also of %s names %s, which does not exist', name, s{1});
    end
  end
  words = {'gamma', {'meanshape_draw', 'meanshape_draw1', 'invchisq_draw', 'invchisq_draw1'}; ...
           'tanh', {'hyptan_fast'}; 'digamma', {'psi_eval'}; 'Dirichlet', {'simplex_draw'}; ...
           'resampling', names(9:12); 'bootstrap', names(13:14); 'distance', {'metric_pairwise'}};
  for k = 1:rows(words)
    found = lookfor(words{k, 1});
    missing = setdiff(words{k, 2}, found);
    assert(isempty(missing), 'lookfor %s misses %s', words{k, 1}, strjoin(missing, ', '));
  end
end
