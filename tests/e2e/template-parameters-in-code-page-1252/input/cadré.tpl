<html><body>
<ul>
  <!-- <template target="cadré" /> -->
</ul>
</body></html>
