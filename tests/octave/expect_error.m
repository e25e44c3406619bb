function expect_error(f, name, message)
  % Calls f and checks what only the real host shows of a refusal: the
  % message after Octave's "NAME: " prefix and the identifier
  % bayesmex:NAME:reason (the texts themselves are pinned by the unit tests).
  try
    f();
  catch err
    assert(strcmp(err.message, [name ': ' message]), sprintf('expected "%s: %s", got "%s"', name, message, err.message));
    id = ['bayesmex:' name ':'];
    assert(strncmp(err.identifier, id, numel(id)) && numel(err.identifier) > numel(id),
           sprintf('identifier "%s" for "%s"', err.identifier, message));
    return;
  end
  error('expected the error "%s", but the call succeeded', message);
end
