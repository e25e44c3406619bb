function test_help()
  % Every function of the manifest has its help text, with an example; a
  % module's name resolves to its MEX file, not to the help-only .m file.
  m = bayesmex_manifest();
  names = [{m.modules.name}, {m.mfiles.name}];
  kinds = [repmat(3, 1, numel(m.modules)), repmat(2, 1, numel(m.mfiles))];
  for k = 1:numel(names)
    text = get_help_text(names{k});
    assert(numel(text) > 200, 'no help text for %s', names{k});
    assert(!isempty(strfind(lower(text), 'example')), 'no example in the help of %s', names{k});
    assert(exist(names{k}) == kinds(k), '%s resolves to no %s file', names{k}, ...
           {'m', 'MEX'}{kinds(k) - 1});
  end
end
