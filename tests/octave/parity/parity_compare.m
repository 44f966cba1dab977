function status = parity_compare(file_a, file_b)
  % Compares two records of parity_zoo, call by call: printed bytes, message,
  % identifier, result classes, complexity, sizes, values bit for bit, and
  % whether the input was left alone. Prints each difference and a closing
  % "N passed, M failed"; returns 0 when the records agree.
  a = load(file_a);
  b = load(file_b);
  a = a.res;
  b = b.res;
  nfail = 0;
  if numel(a) ~= numel(b)
    printf('record lengths differ: %d and %d\n', numel(a), numel(b));
    nfail = 1;
  end
  fields = {'printed', 'msg', 'id', 'classes', 'complex', 'sizes', 'values', 'changed'};
  for k = 1:min(numel(a), numel(b))
    for f = fields
      if ~isequal(a{k}.(f{1}), b{k}.(f{1}))
        nfail += 1;
        printf('case %d (%s, args %s): %s differs\n', k, a{k}.call, strjoin(a{k}.args, ','), f{1});
        if ischar(a{k}.(f{1}))
          printf('  %s\n  %s\n', a{k}.(f{1}), b{k}.(f{1}));
        end
      end
    end
    if a{k}.changed || b{k}.changed
      nfail += 1;
      printf('case %d (%s): an input was changed\n', k, a{k}.call);
    end
  end
  printf('parity: %d calls compared\n', min(numel(a), numel(b)));
  printf('%d passed, %d failed\n', min(numel(a), numel(b)) - min(nfail, numel(a)), nfail);
  status = nfail > 0;
end
