function test_help()
  % Every function of the manifest has its help text, with an example; a
  % module's name resolves to its MEX file, not to the help-only .m file.
  % A module's help starts with a usage line that is also its one-sentence
  % summary (MATLAB's H1 line, Octave's lookfor sentence) and ends with a See
  % also line whose names all resolve; every first sentence is whole in the
  % doc cache pkg install writes (which keeps 80 characters); lookfor finds
  % the functions by the words a user types.
  m = bayesmex_manifest();
  names = [{m.modules.name}, {m.mfiles.name}];
  kinds = [repmat(3, 1, numel(m.modules)), repmat(2, 1, numel(m.mfiles))];
  for k = 1:numel(names)
    name = names{k};
    text = get_help_text(name);
    assert(numel(text) > 200, 'no help text for %s', name);
    assert(!isempty(strfind(lower(text), 'example')), 'no example in the help of %s', name);
    assert(exist(name) == kinds(k), '%s resolves to no %s file', name, {'m', 'MEX'}{kinds(k) - 1});
    whole = get_first_help_sentence(name, 1024);
    assert(strcmp(get_first_help_sentence(name), whole), ...
           'the first sentence of %s is cut in a doc cache: "%s"', name, whole);
    if kinds(k) != 3, continue; end
    first = strtrim(whole);
    assert(!isempty(regexp(first, ['^(\[?[\w, ]+\]? = )?' name '\('], 'once')), ...
           'the help of %s does not start with its usage: "%s"', name, first);
    assert(isempty(strfind(first, "\n")), 'the first sentence of %s is not one line', name);
    also = regexp(text, 'See also ([^.]*)\.\s*$', 'tokens', 'once');
    assert(!isempty(also), 'the help of %s does not end with a See also line', name);
    for s = strtrim(strsplit(also{1}, ','))
      assert(exist(s{1}) != 0, 'See also of %s names %s, which does not exist', name, s{1});
    end
  end
  % The overview lists every function once, under its group's title.
  text = get_help_text('bayesmex');
  for g = m.groups
    members = [{m.modules(strcmp({m.modules.group}, g.key)).name}, ...
               {m.mfiles(strcmp({m.mfiles.group}, g.key)).name}];
    part = regexp(text, ['\n\s*' g.title '\s*\n(.*?)(\n\s*\n|$)'], 'tokens', 'once');
    assert(!isempty(part), 'the overview has no group %s', g.title);
    listed = regexp(part{1}, '^\s*(\w+)\s\s', 'tokens', 'lineanchors');
    assert(isequal(sort([listed{:}]), sort(members)), 'the overview lists under %s: %s', ...
           g.title, strjoin([listed{:}], ', '));
  end
  % The words of each function's contract.
  for row = [num2cell(m.modules), num2cell(m.mfiles)]
    for w = row{1}.lookfor
      assert(any(strcmp(lookfor(w{1}), row{1}.name)), 'lookfor %s misses %s', w{1}, row{1}.name);
    end
  end
end
