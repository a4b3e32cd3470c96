<script>
  var contextes = <!-- <template target="contexte" /> -->;
</script>
