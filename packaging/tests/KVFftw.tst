%!test
%! ## One planner level for every command; the same plan, the same bits.
%! before = KVFftw ('planner');
%! unwind_protect
%!   assert (KVFftw ('planner', 'estimate'), 'estimate');
%!   F = KVCircAperture (1e-3, 0, 0, KVBegin (4e-3, 633e-9, 64));
%!   G = KVFresnelFFT (0.05, F);
%!   assert (isequal (KVFresnelFFT (0.05, F), G));
%!   assert (KVFftw ('planner', 'measure'), 'measure');
%!   H = KVFresnelFFT (0.05, F);
%!   assert (H, G, 1e-12 * max (abs (G(:))));
%!   assert (isequal (KVFresnelFFT (0.05, F), H));
%!   file = [tempname() '.wisdom'];
%!   KVFftw ('save', file);
%!   KVFftw ('load', file);
%!   delete (file);
%! unwind_protect_cleanup
%!   KVFftw ('planner', before);
%! end_unwind_protect
%!error <method must be> KVFftw ('planner', 'never')
%!test
%! ## The time limit of a plan; a file that is not wisdom is refused at once.
%! before = KVFftw ('timelimit');
%! unwind_protect
%!   assert (KVFftw ('timelimit', 2.5), 2.5);
%!   assert (KVFftw ('timelimit'), 2.5);
%! unwind_protect_cleanup
%!   KVFftw ('timelimit', before);
%! end_unwind_protect
%!error <not a regular file> KVFftw ('load', '/dev/zero')
%!error <positive number> KVFftw ('timelimit', 0)
