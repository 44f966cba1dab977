%!shared F, P, old
%! old = getenv ('KORVANE_NUM_THREADS');
%! n = 646;   % 646^2 samples: three ranges of every loop
%! F = KVBegin (5e-3, 633e-9, n);
%! F(1:n, 1:n) = exp (1i * reshape (mod (0:n*n-1, 97) / 7, n, n)) .* (1 + mod (reshape (0:n*n-1, n, n), 13) / 13);
%! P = mod (reshape (0:n*n-1, n, n), 29) / 5;

%!test
%! % The oct-files give the same bits at 1, 2 and 3 threads, a narrowed
%! % (real) field too.
%! R = real (F); R(1:5, end) = F(1:5, end);
%! calls = {@() KVLens (0.5, 1e-4, 0, F), @() KVZernike (6, -2, 2e-3, 1.3, F), ...
%!          @() KVRandomPhase (3, 2, F), @() KVRandomIntensity (3, R), ...
%!          @() KVCircAperture (2e-3, 0, 0, R), @() KVSubPhase (P, F), ...
%!          @() KVIntensity (1, F), @() KVPhase (F), @() KVStrehl (F), ...
%!          @() KVGaussHermite (2, 1, 1, 1e-3, F), @() KVPhaseUnwrap (1, P), ...
%!          @() KVInterpol (4e-3, 300, 0, 0, 7, 1.2, F), @() KVForward (0.5, 5e-3, 80, F), ...
%!          @() KVAngularSpectrum (0.05, F), @() KVPad (700, F), ...
%!          @() KVFraunhofer (0.5, 1e-3, 300, F, 1e-5, 0), @() KVFocus (0.5, 0.7, F)};
%! unwind_protect
%!   for k = 1:numel (calls)
%!     setenv ('KORVANE_NUM_THREADS', '1');
%!     a = calls{k} ();
%!     for t = {'2', '3'}
%!       setenv ('KORVANE_NUM_THREADS', t{1});
%!       assert (isequal (calls{k} (), a), true, sprintf ('call %d at %s threads', k, t{1}));
%!     end
%!   end
%!   setenv ('KORVANE_NUM_THREADS', '2');
%!   [G1, p1] = KVNormal (F);
%!   setenv ('KORVANE_NUM_THREADS', '1');
%!   [G2, p2] = KVNormal (F);
%!   assert (isequal (G1, G2) && isequal (p1, p2));
%! unwind_protect_cleanup
%!   setenv ('KORVANE_NUM_THREADS', old);
%!   if (isempty (old)) unsetenv ('KORVANE_NUM_THREADS'); end
%! end_unwind_protect

%!test
%! % The planner level is one for every command, 'estimate' by default;
%! % wisdom goes to a file and comes back.
%! before = KVFftw ('planner');
%! if (isempty (getenv ('KORVANE_FFTW_PLANNER')))
%!   assert (before, 'estimate');
%! end
%! unwind_protect
%!   assert (KVFftw ('planner', 'Estimate'), 'estimate');
%!   assert (getenv ('KORVANE_FFTW_PLANNER'), 'estimate');
%!   KVFftw ('planner', 'measure');
%!   assert (KVFftw ('planner'), 'measure');
%!   G = KVFresnelFFT (0.01, KVBegin (1e-3, 1e-6, 64));
%!   file = [tempname() '.wisdom'];
%!   KVFftw ('save', file);
%!   assert (strncmp (fileread (file), '(fftw-3', 7));
%!   KVFftw ('load', file);
%!   delete (file);
%!   fail ("KVFftw ('load', file)", 'cannot read the wisdom file: no such file');
%!   % Neither a device nor a FIFO holds the session up.
%!   fail ("KVFftw ('load', '/dev/zero')", 'not a regular file');
%!   fifo = [tempname() '.fifo'];
%!   if (system (['mkfifo ' fifo]) == 0)
%!     unwind_protect
%!       fail ("KVFftw ('load', fifo)", 'not a regular file');
%!     unwind_protect_cleanup
%!       delete (fifo);
%!     end_unwind_protect
%!   end
%!   fid = fopen (file, 'w'); fputs (fid, '(fftw-3.3 fftw_wisdom'); fclose (fid);
%!   fail ("KVFftw ('load', file)", 'cannot read the file as FFTW wisdom');
%!   delete (file);
%!   fail ("KVFftw ('planner', 'slow')", "method must be 'estimate', 'measure' or 'patient'");
%!   fail ("KVFftw (3)", 'Input must be a string.');
%!   try
%!     KVFftw ('planner', 'fast');
%!   catch err
%!     assert (err.identifier, 'Korvane:badValue');
%!   end
%! unwind_protect_cleanup
%!   KVFftw ('planner', before);
%! end_unwind_protect
