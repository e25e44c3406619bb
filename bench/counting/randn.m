function varargout = randn(varargin)
  % Counts a call-back, then hands it to the built-in randn.
  global bayesmex_callbacks
  bayesmex_callbacks = bayesmex_callbacks + 1;
  [varargout{1:max(nargout, 1)}] = builtin('randn', varargin{:});
end
