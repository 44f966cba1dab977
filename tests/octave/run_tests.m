function status = run_tests(folder)
  % Runs the test blocks of every test_*.m in FOLDER and prints one line per
  % file and a closing "N passed, M failed". What a file prints (banners of
  % the count-error tests, failure reports) is shown only when it fails.
  % Returns 0 when all pass.
  files = dir(fullfile(folder, 'test_*.m'));
  npass = 0;
  nfail = 0;
  for k = 1:numel(files)
    name = fullfile(folder, files(k).name);
    n = 0;
    nmax = 1;
    out = evalc('[n, nmax] = test(name, "quiet", stdout);');
    printf('%-40s %3d of %3d\n', files(k).name, n, nmax);
    if n < nmax
      printf('%s\n', out);
    end
    npass += n;
    nfail += nmax - n;
  end
  printf('%d passed, %d failed\n', npass, nfail);
  status = nfail > 0;
end
